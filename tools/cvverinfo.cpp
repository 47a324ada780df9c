// cvverinfo: prints a program file's version resource as Explorer's Properties read it, through
// GetFileVersionInfoA and VerQueryValueA, one line each:
//   fixed: file A.B.C.D product A.B.C.D os 0xN type N
//   translation: LLLL CCCC           (language and code page, as hexadecimal digits)
//   NAME: TEXT                      for each of the names Properties shows, "(none)" when missing
// The texts are read in the block of the file's first translation. Exits 1 when the file has no
// version resource, or one without the fixed part or a translation.
//
//   cvverinfo FILE
#include "cvtool.h"

#include <winver.h>

namespace {

// The names that Explorer's Properties list, in its order.
constexpr const char* kNames[] = {"CompanyName",    "FileDescription",  "FileVersion", "InternalName",
                                  "LegalCopyright", "OriginalFilename", "ProductName", "ProductVersion"};

std::string Quad(DWORD high, DWORD low) {
    return cvtool::Format("%lu.%lu.%lu.%lu", static_cast<unsigned long>(HIWORD(high)),
                          static_cast<unsigned long>(LOWORD(high)), static_cast<unsigned long>(HIWORD(low)),
                          static_cast<unsigned long>(LOWORD(low)));
}

// The value at `path` in the resource, or nullptr with its size 0.
void* Query(std::vector<char>& info, const std::string& path, UINT* size) {
    void* value = nullptr;
    *size = 0;
    if (!VerQueryValueA(info.data(), path.c_str(), &value, size))
        return nullptr;
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        return cvtool::Complain(cvtool::kUsage, "usage: cvverinfo FILE");
    DWORD handle = 0;
    const DWORD bytes = GetFileVersionInfoSizeA(argv[1], &handle);
    if (bytes == 0)
        return cvtool::FailLastError(("GetFileVersionInfoSizeA " + std::string(argv[1])).c_str());
    std::vector<char> info(bytes);
    if (!GetFileVersionInfoA(argv[1], 0, bytes, info.data()))
        return cvtool::FailLastError(("GetFileVersionInfoA " + std::string(argv[1])).c_str());

    UINT size = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Query(info, "\\", &size));
    if (!fixed || size < sizeof *fixed || fixed->dwSignature != VS_FFI_SIGNATURE)
        return cvtool::Complain(cvtool::kFailed, "no fixed file information");
    cvtool::Print(cvtool::Format("fixed: file %s product %s os 0x%lX type %lu",
                                 Quad(fixed->dwFileVersionMS, fixed->dwFileVersionLS).c_str(),
                                 Quad(fixed->dwProductVersionMS, fixed->dwProductVersionLS).c_str(),
                                 static_cast<unsigned long>(fixed->dwFileOS),
                                 static_cast<unsigned long>(fixed->dwFileType)));

    const auto* translation = static_cast<const WORD*>(Query(info, "\\VarFileInfo\\Translation", &size));
    if (!translation || size < 2 * sizeof(WORD))
        return cvtool::Complain(cvtool::kFailed, "no translation");
    const std::string block = cvtool::Format("%04X%04X", translation[0], translation[1]);
    cvtool::Print("translation: " + block.substr(0, 4) + " " + block.substr(4));

    for (const char* name : kNames) {
        const auto* text =
            static_cast<const char*>(Query(info, "\\StringFileInfo\\" + block + "\\" + name, &size));
        cvtool::Print(std::string(name) + ": " + (text && size ? text : "(none)"));
    }
    return cvtool::kOk;
}
