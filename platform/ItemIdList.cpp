#include "platform/ItemIdList.h"

#include <cstring>

namespace platform {

namespace {

const BYTE* Bytes(LPCITEMIDLIST list) {
    return reinterpret_cast<const BYTE*>(list);
}

}  // namespace

WORD FirstItemSize(LPCITEMIDLIST list) {
    if (list == nullptr) {
        return 0;
    }
    const BYTE* bytes = Bytes(list);
    return static_cast<WORD>(bytes[0] | (bytes[1] << 8));
}

UINT ItemIdListSize(LPCITEMIDLIST list) {
    UINT size = 0;
    for (WORD cb = FirstItemSize(list); cb != 0; cb = FirstItemSize(list)) {
        size += cb;
        list = reinterpret_cast<LPCITEMIDLIST>(Bytes(list) + cb);
    }
    return size;
}

LPCITEMIDLIST NextItem(LPCITEMIDLIST list) {
    return reinterpret_cast<LPCITEMIDLIST>(Bytes(list) + FirstItemSize(list));
}

UINT AppendFirstItem(BYTE* target, LPCITEMIDLIST prefix, UINT prefixSize, LPCITEMIDLIST item) {
    const WORD cb = FirstItemSize(item);
    if (prefixSize != 0) {
        std::memcpy(target, prefix, prefixSize);
    }
    if (cb != 0) {
        std::memcpy(target + prefixSize, item, cb);
    }
    target[prefixSize + cb] = 0;
    target[prefixSize + cb + 1] = 0;
    return prefixSize + cb;
}

}  // namespace platform
