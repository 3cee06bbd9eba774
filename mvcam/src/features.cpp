// Feature access by GenICam name, with the kind checked before any value is touched.
#include <cstring>

#include "mvcc_internal.h"

namespace mvcc {

namespace {

enum class Kind { Integer, Float, Boolean, String, Enumeration, Command };

bool is_kind(ArvGcNode *node, Kind kind) {
    switch (kind) {
        case Kind::Integer:
            return ARV_IS_GC_INTEGER(node) && !ARV_IS_GC_ENUMERATION(node);
        case Kind::Float:
            return ARV_IS_GC_FLOAT(node);
        case Kind::Boolean:
            return ARV_IS_GC_BOOLEAN(node);
        case Kind::String:
            return ARV_IS_GC_STRING(node) && !ARV_IS_GC_ENUMERATION(node);
        case Kind::Enumeration:
            return ARV_IS_GC_ENUMERATION(node);
        case Kind::Command:
            return ARV_IS_GC_COMMAND(node);
    }
    return false;
}

// Runs op on the named feature of the handle's open device, holding a reference to the device so that a
// concurrent close cannot free it underneath.
template <typename Op>
int with_feature(void *handle, const char *name, Kind kind, bool write, Op op) {
    std::shared_ptr<Core> c = core_of(handle);
    if (!c) return MVCC_E_HANDLE;
    if (!name) return MVCC_E_PARAMETER;
    ArvDevice *d;
    unsigned access;
    {
        std::lock_guard<std::mutex> g(c->stateLock);
        d = c->device;
        access = c->accessMode;
        if (d) g_object_ref(d);
    }
    if (!d) return MVCC_E_CALLORDER;
    int r = MVCC_OK;
    ArvGcNode *node = arv_device_get_feature(d, name);
    GError *e = nullptr;
    if (!node || !ARV_IS_GC_FEATURE_NODE(node)) {
        r = MVCC_E_FEATURE_NOT_FOUND;
    } else if (!is_kind(node, kind)) {
        r = MVCC_E_FEATURE_KIND;
    } else if (!arv_gc_feature_node_is_available(ARV_GC_FEATURE_NODE(node), &e)) {
        r = e ? take_error(&e) : MVCC_E_FEATURE_NOT_AVAIL;
    } else if (write && access == MVCC_ACCESS_MONITOR) {
        r = MVCC_E_FEATURE_ACCESS;
    } else if (write && arv_gc_feature_node_is_locked(ARV_GC_FEATURE_NODE(node), &e)) {
        r = MVCC_E_FEATURE_LOCKED;
    } else {
        g_clear_error(&e);
        r = op(node, &e);
        if (e) r = take_error(&e);
    }
    g_clear_error(&e);
    g_object_unref(d);
    return r;
}

}  // namespace

int take_error(GError **error) {
    GError *e = *error;
    if (!e) return MVCC_OK;
    int r = MVCC_E_INTERNAL;
    if (e->domain == arv_gc_error_quark()) {
        switch (e->code) {
            case ARV_GC_ERROR_OUT_OF_RANGE:
                r = MVCC_E_FEATURE_RANGE;
                break;
            case ARV_GC_ERROR_ENUM_ENTRY_NOT_FOUND:
                r = MVCC_E_FEATURE_ENTRY;
                break;
            case ARV_GC_ERROR_NODE_NOT_FOUND:
                r = MVCC_E_FEATURE_NOT_FOUND;
                break;
            case ARV_GC_ERROR_READ_ONLY:
                r = MVCC_E_FEATURE_ACCESS;
                break;
            case ARV_GC_ERROR_NO_DEVICE_SET:
                r = MVCC_E_INTERNAL;
                break;
            default:
                r = MVCC_E_GENICAM;
                break;
        }
    } else if (e->domain == arv_device_error_quark()) {
        switch (e->code) {
            case ARV_DEVICE_ERROR_WRONG_FEATURE:
                r = MVCC_E_FEATURE_KIND;
                break;
            case ARV_DEVICE_ERROR_FEATURE_NOT_FOUND:
                r = MVCC_E_FEATURE_NOT_FOUND;
                break;
            case ARV_DEVICE_ERROR_TIMEOUT:
                r = MVCC_E_TIMEOUT;
                break;
            case ARV_DEVICE_ERROR_NOT_CONNECTED:
            case ARV_DEVICE_ERROR_TRANSFER_ERROR:
            case ARV_DEVICE_ERROR_NOT_FOUND:
                r = MVCC_E_NO_DEVICE;
                break;
            case ARV_DEVICE_ERROR_INVALID_PARAMETER:
                r = MVCC_E_PARAMETER;
                break;
            case ARV_DEVICE_ERROR_GENICAM_NOT_FOUND:
                r = MVCC_E_GENICAM;
                break;
            case ARV_DEVICE_ERROR_NO_STREAM_CHANNEL:
                r = MVCC_E_STREAM;
                break;
            case ARV_DEVICE_ERROR_NOT_CONTROLLER:
            case ARV_DEVICE_ERROR_PROTOCOL_ERROR_ACCESS_DENIED:
                r = MVCC_E_ACCESS_DENIED;
                break;
            case ARV_DEVICE_ERROR_PROTOCOL_ERROR_WRITE_PROTECT:
                r = MVCC_E_FEATURE_ACCESS;
                break;
            default:
                r = MVCC_E_PROTOCOL;
                break;
        }
    }
    g_clear_error(error);
    return r;
}

}  // namespace mvcc

using namespace mvcc;

extern "C" {

int MV_CC_GetIntValueEx(void *handle, const char *strKey, MVCC_INT_VALUE *pValue) {
    if (!pValue) return MVCC_E_PARAMETER;
    return with_feature(handle, strKey, Kind::Integer, false, [&](ArvGcNode *node, GError **e) {
        ArvGcInteger *n = ARV_GC_INTEGER(node);
        MVCC_INT_VALUE v{};
        v.nCurValue = arv_gc_integer_get_value(n, e);
        if (*e) return MVCC_E_INTERNAL;
        v.nMin = arv_gc_integer_get_min(n, nullptr);
        v.nMax = arv_gc_integer_get_max(n, nullptr);
        v.nInc = arv_gc_integer_get_inc(n, nullptr);
        *pValue = v;
        return MVCC_OK;
    });
}

int MV_CC_SetIntValueEx(void *handle, const char *strKey, int64_t nValue) {
    return with_feature(handle, strKey, Kind::Integer, true, [&](ArvGcNode *node, GError **e) {
        arv_gc_integer_set_value(ARV_GC_INTEGER(node), nValue, e);
        return MVCC_OK;
    });
}

int MV_CC_GetFloatValue(void *handle, const char *strKey, MVCC_FLOAT_VALUE *pValue) {
    if (!pValue) return MVCC_E_PARAMETER;
    return with_feature(handle, strKey, Kind::Float, false, [&](ArvGcNode *node, GError **e) {
        ArvGcFloat *n = ARV_GC_FLOAT(node);
        MVCC_FLOAT_VALUE v{};
        v.fCurValue = static_cast<float>(arv_gc_float_get_value(n, e));
        if (*e) return MVCC_E_INTERNAL;
        v.fMin = static_cast<float>(arv_gc_float_get_min(n, nullptr));
        v.fMax = static_cast<float>(arv_gc_float_get_max(n, nullptr));
        *pValue = v;
        return MVCC_OK;
    });
}

int MV_CC_SetFloatValue(void *handle, const char *strKey, float fValue) {
    return with_feature(handle, strKey, Kind::Float, true, [&](ArvGcNode *node, GError **e) {
        arv_gc_float_set_value(ARV_GC_FLOAT(node), fValue, e);
        return MVCC_OK;
    });
}

int MV_CC_GetBoolValue(void *handle, const char *strKey, uint8_t *pValue) {
    if (!pValue) return MVCC_E_PARAMETER;
    return with_feature(handle, strKey, Kind::Boolean, false, [&](ArvGcNode *node, GError **e) {
        const gboolean v = arv_gc_boolean_get_value(ARV_GC_BOOLEAN(node), e);
        if (!*e) *pValue = v ? 1 : 0;
        return MVCC_OK;
    });
}

int MV_CC_SetBoolValue(void *handle, const char *strKey, uint8_t bValue) {
    return with_feature(handle, strKey, Kind::Boolean, true, [&](ArvGcNode *node, GError **e) {
        arv_gc_boolean_set_value(ARV_GC_BOOLEAN(node), bValue ? TRUE : FALSE, e);
        return MVCC_OK;
    });
}

int MV_CC_GetStringValue(void *handle, const char *strKey, MVCC_STRING_VALUE *pValue) {
    if (!pValue) return MVCC_E_PARAMETER;
    return with_feature(handle, strKey, Kind::String, false, [&](ArvGcNode *node, GError **e) {
        ArvGcString *n = ARV_GC_STRING(node);
        const char *s = arv_gc_string_get_value(n, e);
        if (*e) return MVCC_E_INTERNAL;
        std::memset(pValue, 0, sizeof *pValue);
        if (s) std::strncpy(pValue->chCurValue, s, sizeof pValue->chCurValue - 1);
        pValue->nMaxLength = arv_gc_string_get_max_length(n, nullptr);
        return MVCC_OK;
    });
}

int MV_CC_SetStringValue(void *handle, const char *strKey, const char *strValue) {
    if (!strValue) return MVCC_E_PARAMETER;
    return with_feature(handle, strKey, Kind::String, true, [&](ArvGcNode *node, GError **e) {
        arv_gc_string_set_value(ARV_GC_STRING(node), strValue, e);
        return MVCC_OK;
    });
}

int MV_CC_GetEnumValue(void *handle, const char *strKey, MVCC_ENUM_VALUE *pValue) {
    if (!pValue) return MVCC_E_PARAMETER;
    return with_feature(handle, strKey, Kind::Enumeration, false, [&](ArvGcNode *node, GError **e) {
        ArvGcEnumeration *n = ARV_GC_ENUMERATION(node);
        MVCC_ENUM_VALUE v{};
        v.nCurValue = static_cast<uint32_t>(arv_gc_enumeration_get_int_value(n, e));
        if (*e) return MVCC_E_INTERNAL;
        guint count = 0;
        gint64 *values = arv_gc_enumeration_dup_available_int_values(n, &count, nullptr);
        for (guint i = 0; i < count && v.nSupportedNum < MVCC_MAX_ENUM_ENTRIES; ++i)
            v.nSupportValue[v.nSupportedNum++] = static_cast<uint32_t>(values[i]);
        g_free(values);
        *pValue = v;
        return MVCC_OK;
    });
}

int MV_CC_SetEnumValue(void *handle, const char *strKey, uint32_t nValue) {
    return with_feature(handle, strKey, Kind::Enumeration, true, [&](ArvGcNode *node, GError **e) {
        arv_gc_enumeration_set_int_value(ARV_GC_ENUMERATION(node), nValue, e);
        // Aravis reports an unknown entry value as out of range.
        if (*e && (*e)->domain == arv_gc_error_quark() && (*e)->code == ARV_GC_ERROR_OUT_OF_RANGE) {
            g_clear_error(e);
            return MVCC_E_FEATURE_ENTRY;
        }
        return MVCC_OK;
    });
}

int MV_CC_SetCommandValue(void *handle, const char *strKey) {
    return with_feature(handle, strKey, Kind::Command, true, [&](ArvGcNode *node, GError **e) {
        arv_gc_command_execute(ARV_GC_COMMAND(node), e);
        return MVCC_OK;
    });
}

}  // extern "C"
