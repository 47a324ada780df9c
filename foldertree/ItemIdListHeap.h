// The folder tree's own heap for its nodes' item ID lists, apart from the shell's task allocator: a
// node's list is the tree's, and the shell never sees it freed.
#pragma once

#include <cstddef>
#include <cstring>

#include "platform/Shell.h"

class TItemIdListHeap {
public:
    TItemIdListHeap() = default;
    TItemIdListHeap(const TItemIdListHeap&) = delete;
    TItemIdListHeap& operator=(const TItemIdListHeap&) = delete;

    platform::BYTE* Allocate(std::size_t size) {
        auto* block = new platform::BYTE[size];
        ++liveBlocks_;
        return block;
    }
    void Free(void* block) {
        if (block != nullptr) {
            --liveBlocks_;
            delete[] static_cast<platform::BYTE*>(block);
        }
    }
    // A copy of a list of `size` bytes and its terminator.
    platform::LPITEMIDLIST Copy(platform::LPCITEMIDLIST list, std::size_t size) {
        platform::BYTE* block = Allocate(size + 2);
        std::memcpy(block, list, size + 2);
        return reinterpret_cast<platform::LPITEMIDLIST>(block);
    }
    int LiveBlocks() const { return liveBlocks_; }

private:
    int liveBlocks_ = 0;
};
