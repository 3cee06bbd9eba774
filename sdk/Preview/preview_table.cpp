#include "preview_table.h"

#include <cstring>

namespace sarvik {

namespace {
PreviewSlot g_slots[kPreviewCount];
bool g_stoppingFromCallback[kPreviewCount];
thread_local int t_callbackPreview = -1;
}  // namespace

int preview_callback_current() {
    return t_callbackPreview;
}

PreviewCallbackScope::PreviewCallbackScope(int index) : saved_(t_callbackPreview) {
    t_callbackPreview = index;
}

PreviewCallbackScope::~PreviewCallbackScope() {
    t_callbackPreview = saved_;
}

bool &preview_stopping_from_callback_locked(int index) {
    return g_stoppingFromCallback[index];
}

PreviewSlot *preview_slots() {
    return g_slots;
}

int preview_slot_take_locked() {
    for (int i = 0; i < kPreviewCount; ++i) {
        if (g_slots[i].inUse) continue;
        std::memset(&g_slots[i], 0, sizeof g_slots[i]);
        g_slots[i].inUse = true;
        return i;
    }
    return SARVIK_ERR_NO_SLOT;
}

void preview_slot_release_locked(int index) {
    if (index < 0 || index >= kPreviewCount) return;
    std::memset(&g_slots[index], 0, sizeof g_slots[index]);
}

}  // namespace sarvik
