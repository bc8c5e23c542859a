#pragma once

namespace vt {

inline constexpr int kForecastJob = 0;
inline constexpr int kTownListJob = 1;

// Starts a download job on its own worker thread and returns at once.
class JobStarter {
  public:
    virtual ~JobStarter() = default;
    virtual void StartJob(int kind) = 0;
};

}  // namespace vt
