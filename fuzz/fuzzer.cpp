// One libFuzzer executable per target: SCAFFARIA_FUZZ_TARGET names the body it runs.
#include "fuzz/targets.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

FuzzTargets::Body chosen()
{
    for (const FuzzTargets::Target &target : FuzzTargets::all()) {
        if (std::strcmp(target.name, SCAFFARIA_FUZZ_TARGET) == 0)
            return target.body;
    }
    std::fputs("unknown fuzz target " SCAFFARIA_FUZZ_TARGET "\n", stderr);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const FuzzTargets::Body body = chosen();
    const QString failure = body(data, size);
    if (!failure.isEmpty()) {
        // A broken rule is a finding like a crash: libFuzzer keeps the input.
        const QByteArray text = failure.toUtf8();
        std::fputs(text.constData(), stderr);
        std::fputc('\n', stderr);
        std::abort();
    }
    return 0;
}
