#include "MvCameraControl.h"

extern "C" const char *MV_CC_GetErrorText(int nResult) {
    switch (nResult) {
        case MVCC_OK:
            return "success";
        case MVCC_E_HANDLE:
            return "null or unknown handle";
        case MVCC_E_PARAMETER:
            return "bad parameter";
        case MVCC_E_CALLORDER:
            return "call out of order";
        case MVCC_E_RESOURCE:
            return "out of memory or threads";
        case MVCC_E_SUPPORT:
            return "not supported";
        case MVCC_E_BUFFER:
            return "buffer too small";
        case MVCC_E_FEATURE_LOCKED:
            return "feature locked while the camera streams";
        case MVCC_E_FEATURE_NOT_FOUND:
            return "no such feature";
        case MVCC_E_FEATURE_NOT_AVAIL:
            return "feature not available now";
        case MVCC_E_FEATURE_ACCESS:
            return "feature is read-only or write-only";
        case MVCC_E_FEATURE_KIND:
            return "feature is of another kind";
        case MVCC_E_FEATURE_RANGE:
            return "value out of the feature's range";
        case MVCC_E_FEATURE_ENTRY:
            return "no such enumeration entry";
        case MVCC_E_NO_DEVICE:
            return "device not reachable";
        case MVCC_E_TIMEOUT:
            return "device did not answer in time";
        case MVCC_E_ACCESS_DENIED:
            return "device controlled by another application";
        case MVCC_E_PROTOCOL:
            return "device answered with an error";
        case MVCC_E_STREAM:
            return "no stream channel";
        case MVCC_E_GENICAM:
            return "feature description missing or broken";
        case MVCC_E_RECORD_FILE:
            return "recording file could not be created";
        case MVCC_E_RECORD_ENCODE:
            return "recording failed";
        default:
            return "internal error";
    }
}
