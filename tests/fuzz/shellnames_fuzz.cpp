// Any bytes as a folder's answer about a name (STRRET, of any type, any offset, a character buffer
// without its zero, any wide string), and as the item ID lists that node creation copies: nothing is
// read beyond a list or an answer, nothing crashes, and the wide string of an answer always goes back
// to the task allocator.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "foldertree/ShellNames.h"
#include "platform/ItemIdList.h"
#include "platform/sim/World.h"
#include "tests/fuzz/FuzzBytes.h"

using namespace platform;

namespace {

// A list as the shell hands one out: items of any length and content, then the terminator; in a
// block of exactly its size, so that a read past its end is caught.
std::unique_ptr<BYTE[]> MakeList(FuzzBytes& bytes, std::size_t& size) {
    std::vector<BYTE> list;
    for (int items = bytes.Byte() % 5; items > 0; --items) {
        const std::size_t length = bytes.Byte();
        const auto cb = static_cast<WORD>(length + 2);
        list.push_back(static_cast<BYTE>(cb & 0xFF));
        list.push_back(static_cast<BYTE>(cb >> 8));
        for (std::size_t i = 0; i < length; ++i) {
            list.push_back(bytes.Byte());
        }
    }
    size = list.size();
    list.push_back(0);
    list.push_back(0);
    auto block = std::make_unique<BYTE[]>(list.size());
    std::memcpy(block.get(), list.data(), list.size());
    return block;
}

LPITEMIDLIST AsList(const std::unique_ptr<BYTE[]>& block) {
    return reinterpret_cast<LPITEMIDLIST>(block.get());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto& world = platform::sim::ResetWorld();
    auto& allocator = world.shell.taskAllocator;
    FuzzBytes bytes(data, size);
    std::size_t parentSize = 0;
    std::size_t itemSize = 0;
    const auto parent = MakeList(bytes, parentSize);
    const auto item = MakeList(bytes, itemSize);

    STRRET answer;
    std::memset(&answer, 0, sizeof answer);
    answer.uType = bytes.Byte() % 4;  // the three types, and one that is none of them
    switch (answer.uType) {
        case STRRET_OFFSET:
            answer.uOffset = bytes.Byte() % 2 ? bytes.Word32() : bytes.Byte();
            break;
        case STRRET_CSTR:
            for (char& c : answer.cStr) {
                c = static_cast<char>(bytes.Byte() | 1);  // often without a terminating zero
            }
            break;
        case STRRET_WSTR:
            if (bytes.Byte() % 4 != 0) {
                const std::size_t length = bytes.Byte();
                auto* wide = static_cast<WCHAR*>(CoTaskMemAlloc((length + 1) * sizeof(WCHAR)));
                for (std::size_t i = 0; i < length; ++i) {
                    wide[i] = static_cast<WCHAR>(bytes.Byte() | (bytes.Byte() << 8) | 1);
                }
                wide[length] = 0;
                answer.pOleStr = wide;
            }
            break;
    }
    const auto liveBefore = allocator.Live() - (answer.uType == STRRET_WSTR && answer.pOleStr ? 1 : 0);
    const auto text = StrRetText(answer, AsList(item));
    if (allocator.Live() != liveBefore || allocator.StrayFrees() != 0) {
        std::abort();
    }
    // An offset or character answer never gives more than its list or buffer holds.
    const std::size_t bound = answer.uType == STRRET_CSTR     ? sizeof answer.cStr
                              : answer.uType == STRRET_OFFSET ? itemSize + 2
                                                              : SIZE_MAX;
    if (text && text->size() > bound) {
        std::abort();
    }

    // The node's absolute list: the parent's bytes, the item's first item, a terminator.
    const std::size_t newSize = parentSize + FirstItemSize(AsList(item));
    auto absolute = std::make_unique<BYTE[]>(newSize + 2);
    const UINT written =
        AppendFirstItem(absolute.get(), AsList(parent), static_cast<UINT>(parentSize), AsList(item));
    if (written != newSize || ItemIdListSize(reinterpret_cast<LPCITEMIDLIST>(absolute.get())) != newSize ||
        std::memcmp(absolute.get(), parent.get(), parentSize) != 0) {
        std::abort();
    }
    return 0;
}
