// Group membership of the process's token, through the entry points of the system folder's
// advapi32.dll: Windows 98 and Me have no CheckTokenMembership, so the program must not import it.
#include "platform/Security.h"
#include "platform/SystemModule.h"

namespace platform {

namespace {

enum Entry : std::size_t { kAllocateAndInitializeSid, kCheckTokenMembership, kFreeSid };

SystemEntries<3>& Advapi() {
    static SystemEntries<3> entries("advapi32.dll",
                                    {"AllocateAndInitializeSid", "CheckTokenMembership", "FreeSid"});
    return entries;
}

}  // namespace

BOOL LoadGroupMembership() {
    return Advapi().Bind();
}

BOOL AllocateAndInitializeSid(const SID_IDENTIFIER_AUTHORITY* authority, BYTE subAuthorityCount,
                              DWORD subAuthority0, DWORD subAuthority1, DWORD subAuthority2,
                              DWORD subAuthority3, DWORD subAuthority4, DWORD subAuthority5,
                              DWORD subAuthority6, DWORD subAuthority7, PSID* sid) {
    return Advapi().Call(kAllocateAndInitializeSid, BOOL{0}, authority, subAuthorityCount, subAuthority0,
                         subAuthority1, subAuthority2, subAuthority3, subAuthority4, subAuthority5,
                         subAuthority6, subAuthority7, sid);
}

BOOL CheckTokenMembership(HANDLE token, PSID sid, BOOL* isMember) {
    return Advapi().Call(kCheckTokenMembership, BOOL{0}, token, sid, isMember);
}

PSID FreeSid(PSID sid) {
    return Advapi().Call(kFreeSid, sid, sid);
}

}  // namespace platform
