// The shell namespace of the in-memory Windows.
#pragma once

namespace platform::sim {

class ShellNamespace {};

}  // namespace platform::sim
