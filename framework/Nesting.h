// A depth kept by an operation that may run inside itself, so that code meanwhile can tell whether it
// runs within one.
#pragma once

// One more of the operation, for as long as this object lasts, on every way out.
class Nesting {
public:
    explicit Nesting(int& depth) : depth_(depth) { ++depth_; }
    ~Nesting() { --depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

private:
    int& depth_;
};
