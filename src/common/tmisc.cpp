#include "common/tmisc.h"

#include "common/dialogs.h"

void TMisc::Open(const QString &target) { Dialogs::seam().open(target); }
