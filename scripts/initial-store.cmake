# Puts the password store with the initial password beside the executable.
# An existing store is left untouched: it may hold the shop's own password.
# The value is "chiaveiniziale", upper-cased and enciphered by the program's cipher.
if(NOT EXISTS "${STORE}")
    file(WRITE "${STORE}" "[Accesso]\nValore=6763ED177AFEAE9E20CF36655AC8\n")
    message(STATUS "Initial password store written: ${STORE}")
endif()
