// A fake of Windows' power requests that logs each call ("hold 1 <reason>", "release 1") and
// keeps count of the requests still open; told to, it refuses the next ones.
#pragma once

#include <string>
#include <vector>

#include "power/keep_awake.h"

namespace tovrelle::test {

class RecordingPowerRequests : public PowerRequests {
  public:
    bool refuse = false;
    std::vector<std::wstring> log;
    PowerRequestNumber next = 1;
    int open = 0;

    PowerRequestNumber hold(const std::wstring& reason) override {
        log.push_back(L"hold " + std::to_wstring(next) + L" " + reason);
        if (refuse) {
            return 0;
        }
        ++open;
        return next++;
    }
    void release(PowerRequestNumber request) override {
        log.push_back(L"release " + std::to_wstring(request));
        --open;
    }
};

}  // namespace tovrelle::test
