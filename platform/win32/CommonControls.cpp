// The common controls' records and flags, checked against Windows' own: the program hands them to
// comctl32.dll as they stand.
#include "platform/CommonControls.h"

// Windows' headers make the flag's name a macro: our value is taken before they are read.
namespace {
constexpr auto kTreeViewClasses = platform::ICC_TREEVIEW_CLASSES;
}  // namespace

#include <windows.h>
#include <commctrl.h>

static_assert(sizeof(platform::INITCOMMONCONTROLSEX) == sizeof(::INITCOMMONCONTROLSEX));
static_assert(offsetof(platform::INITCOMMONCONTROLSEX, dwICC) == offsetof(::INITCOMMONCONTROLSEX, dwICC));
static_assert(kTreeViewClasses == ICC_TREEVIEW_CLASSES);
