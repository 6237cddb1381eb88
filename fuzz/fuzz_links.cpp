// What the readers under test reach outside themselves, reduced to inert
// stand-ins: no window, no devices, no game running.
#include <cstdint>

#include "platform/events.h"
#include "platform/input.h"
#include "platform/msgbox.h"

#if defined(QS_FUZZ_TARGET_score)
#include "config/options.h"
#include "core/core.h"
const char* HomeDir;
float SpeedAdjust;
ShellOptions Options;
RecorderHooks Recorder;
uint64_t Game_StateHash() { return 0; }
void Plat_MessageBox(const char*, const char*) {}
void Plat_SetHeadless(bool) {}
bool Plat_IsHeadless() { return true; }
#endif

#if defined(QS_FUZZ_TARGET_score)
void Shell_MessageBox(const char*, const char*) {}
#endif


#if defined(QS_FUZZ_TARGET_config)
#include "config/options.h"
ShellOptions Options;
float SpeedAdjust;
#endif
