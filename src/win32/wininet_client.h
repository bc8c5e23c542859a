// The Internet port over WinINet. One URL attempt builds its own connection and request
// handles, so that the time-outs set on the request handle bound a server that never answers
// (a time-out on the session handle alone does not, under Wine).
#pragma once

#include "ports/internet.h"

namespace vt {

class WinInternet : public Internet {
  public:
    // timeoutMs: connect, send and receive time-out of each request.
    explicit WinInternet(unsigned timeoutMs = 20000) : timeoutMs_(timeoutMs) {}

    std::unique_ptr<InternetSession> Open(const std::string& agent, AccessType type,
                                          const std::string& proxy) override;
    void Sleep(int milliseconds) override;

  private:
    unsigned timeoutMs_;
};

}  // namespace vt
