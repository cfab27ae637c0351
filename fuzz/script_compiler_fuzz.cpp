// libFuzzer target for the script compiler: the input is a source file. Every input ends with the
// count line, and a library is left behind only when there was no error.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/headless_platform.h"
#include "script/compiler/script_compiler.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("script_compiler_fuzz_" + std::to_string(getpid()));
    static qx::HeadlessPlatform platform;
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "f.s", std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<long>(size));
    std::filesystem::remove(dir / "f.slb");
    const qx::CompileOutcome out = qx::compileScript(qx::CompileRequest{dir.string(), "f.s", true}, platform, {});
    check(!out.rows.empty() && out.rows.back().starts_with("f.slb  -  "));
    check(out.errors <= 11);
    check(std::filesystem::exists(dir / "f.slb") == (out.errors == 0));
    return 0;
}
