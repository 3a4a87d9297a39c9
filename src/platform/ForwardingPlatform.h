// A platform that passes every call on to another one: the base of the platforms that watch
// or change some calls on their way (the restore journal, the benchmarks' recorder).
#pragma once

#include "platform/Platform.h"

namespace vt {

class ForwardingPlatform : public Platform {
  public:
    explicit ForwardingPlatform(Platform& inner) : inner_(inner) {}

#define VT_PLATFORM_CALL(ret, name, shortName, params, args) \
    ret name params override {                               \
        return inner_.name args;                             \
    }
#include "platform/PlatformCalls.def"

  protected:
    Platform& inner_;
};

}  // namespace vt
