#pragma once

namespace vt {

// The random source of the update-time jitter.
class Random {
  public:
    virtual ~Random() = default;
    virtual void Reseed() = 0;
    // A whole number from 0 to range - 1.
    virtual int Draw(int range) = 0;
};

}  // namespace vt
