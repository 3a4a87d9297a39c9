#include "platform/win32/LateBound.h"

#include <objbase.h>

namespace vt::late {
namespace {

bool comStarted = false;

}  // namespace

bool UseCom() {
    if (comStarted) return true;
    auto initialize = Bind<HRESULT(WINAPI*)(LPVOID)>(kCoInitialize);
    comStarted = initialize && SUCCEEDED(initialize(nullptr));
    return comStarted;
}

void EndCom() {
    if (!comStarted) return;
    if (auto uninitialize = Bind<void(WINAPI*)()>(kCoUninitialize)) uninitialize();
    comStarted = false;
}

}  // namespace vt::late
