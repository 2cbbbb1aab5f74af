// Stand-in for the input library: it keeps what it was started with and counts its polls, which
// is all the graphics library relies on.
#include "TactilProbe.h"

namespace {
void *startedWindow = nullptr;
void *startedInstance = nullptr;
int initCount = 0;
int pollCount = 0;
}  // namespace

extern "C" {

void InitDirectInput(void *window, void *instance) {
    startedWindow = window;
    startedInstance = instance;
    ++initCount;
}

void DirectInputPoll(void) {
    ++pollCount;
}

void *TactilWindow(void) {
    return startedWindow;
}
void *TactilInstance(void) {
    return startedInstance;
}
int TactilInitCount(void) {
    return initCount;
}
int TactilPollCount(void) {
    return pollCount;
}
}
