// The cases that cannot pass on one side, with the reason: the one place where the suite admits that a
// side is not Windows.
#pragma once

#include <string_view>
#include <vector>

namespace contract {

struct KnownDifference {
    std::string_view caseName;
    std::string_view side;  // as SideName() gives it
    std::string_view reason;
};

const std::vector<KnownDifference>& KnownDifferences();

}  // namespace contract
