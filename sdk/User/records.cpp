// Camera records: the dedicated get/set pairs and the generic pair over the info-type table.
#include <cstring>

#include "SarvikSDK.h"
#include "record_exchange.h"
#include "sdk_global.h"

namespace sarvik {

namespace {

// One row of the info-type table: the request pair that reaches the record and the record's size.
struct InfoType {
    int info;
    uint16_t getType;
    uint16_t setType;
    uint16_t size;
};

constexpr InfoType kInfoTypes[] = {
    {SARVIK_INFO_CAMERA_BASIC, SARVIK_MSG_GET_CAMERA_BASIC_INFO, SARVIK_MSG_SET_CAMERA_BASIC_INFO,
     sizeof(_CameraBasicInfo)},
    {SARVIK_INFO_CAMERA_NETWORK, SARVIK_MSG_GET_CAMERA_NETWORK_INFO, SARVIK_MSG_SET_CAMERA_NETWORK_INFO,
     sizeof(_CameraNetworkInfo)},
    {SARVIK_INFO_FIX, SARVIK_MSG_GET_FIX_INFO, SARVIK_MSG_SET_FIX_INFO, sizeof(_FixInfo)},
    {SARVIK_INFO_FFC, SARVIK_MSG_GET_FFC_INFO, SARVIK_MSG_SET_FFC_INFO, sizeof(_FFCInfo)},
    {SARVIK_INFO_TVOUT, SARVIK_MSG_GET_TVOUT_INFO, SARVIK_MSG_SET_TVOUT_INFO, sizeof(_TvoutInfo)},
    {SARVIK_INFO_CAMERA_OUTPUT, SARVIK_MSG_GET_CAMERA_OUTPUT_INFO, SARVIK_MSG_SET_CAMERA_OUTPUT_INFO,
     sizeof(_CameraOutputInfo)},
    {SARVIK_INFO_CAMERA_TIME, SARVIK_MSG_GET_CAMERA_TIME_INFO, SARVIK_MSG_SET_CAMERA_TIME_INFO,
     sizeof(_CameraTimeInfo)},
    {SARVIK_INFO_CAMERA_OSD, SARVIK_MSG_GET_CAMERA_OSD_INFO, SARVIK_MSG_SET_CAMERA_OSD_INFO,
     sizeof(_CameraOSDInfo)},
    {SARVIK_INFO_GPIO, SARVIK_MSG_GET_GPIO_INFO, SARVIK_MSG_SET_GPIO_INFO, sizeof(_GpioInfo)},
    {SARVIK_INFO_SERIAL_PORT, SARVIK_MSG_GET_SERIAL_PORT_INFO, SARVIK_MSG_SET_SERIAL_PORT_INFO,
     sizeof(_SerialPortInfo)},
    {SARVIK_INFO_CAMERA_PLUGIN, SARVIK_MSG_CAMERA_PLUGIN_INFO, SARVIK_MSG_CAMERA_PLUGIN_INFO,
     sizeof(_CameraPluginInfo)},
    {SARVIK_INFO_DESTRIP, SARVIK_MSG_GET_DESTRIP_INFO, SARVIK_MSG_SET_DESTRIP_INFO, sizeof(_DestripInfo)},
    {SARVIK_INFO_DENOISE, SARVIK_MSG_GET_DENOISE_INFO, SARVIK_MSG_SET_DENOISE_INFO, sizeof(_DenoiseInfo)},
    {SARVIK_INFO_FPA_0, SARVIK_MSG_GET_FPA_INFO_0, SARVIK_MSG_SET_FPA_INFO_0, sizeof(_FPAInfo)},
    {SARVIK_INFO_FPA_1, SARVIK_MSG_GET_FPA_INFO_1, SARVIK_MSG_SET_FPA_INFO_1, sizeof(_FPAInfo)},
    {SARVIK_INFO_FPA_2, SARVIK_MSG_GET_FPA_INFO_2, SARVIK_MSG_SET_FPA_INFO_2, sizeof(_FPAInfo)},
    {SARVIK_INFO_FPA_AK_0, SARVIK_MSG_GET_FPA_INFO_AK_0, SARVIK_MSG_SET_FPA_INFO_AK_0, sizeof(_FPAInfoAK)},
    {SARVIK_INFO_FPA_AK_1, SARVIK_MSG_GET_FPA_INFO_AK_1, SARVIK_MSG_SET_FPA_INFO_AK_1, sizeof(_FPAInfoAK)},
    {SARVIK_INFO_FPA_AK_2, SARVIK_MSG_GET_FPA_INFO_AK_2, SARVIK_MSG_SET_FPA_INFO_AK_2, sizeof(_FPAInfoAK)},
    {SARVIK_INFO_FPA_GD_0, SARVIK_MSG_GET_FPA_INFO_GD_0, SARVIK_MSG_SET_FPA_INFO_GD_0, sizeof(_FPAInfoGD)},
    {SARVIK_INFO_FPA_GD_1, SARVIK_MSG_GET_FPA_INFO_GD_1, SARVIK_MSG_SET_FPA_INFO_GD_1, sizeof(_FPAInfoGD)},
    {SARVIK_INFO_FPA_GD_2, SARVIK_MSG_GET_FPA_INFO_GD_2, SARVIK_MSG_SET_FPA_INFO_GD_2, sizeof(_FPAInfoGD)},
    {SARVIK_INFO_FPA_FAMILY4_0, SARVIK_MSG_GET_FPA_INFO_FAMILY4_0, SARVIK_MSG_SET_FPA_INFO_FAMILY4_0,
     sizeof(_FPAInfoFamily4)},
    {SARVIK_INFO_FPA_FAMILY4_1, SARVIK_MSG_GET_FPA_INFO_FAMILY4_1, SARVIK_MSG_SET_FPA_INFO_FAMILY4_1,
     sizeof(_FPAInfoFamily4)},
    {SARVIK_INFO_FPA_FAMILY4_2, SARVIK_MSG_GET_FPA_INFO_FAMILY4_2, SARVIK_MSG_SET_FPA_INFO_FAMILY4_2,
     sizeof(_FPAInfoFamily4)},
    {SARVIK_INFO_CAMERA_EXT, SARVIK_MSG_GET_CAMERA_EXT_INFO, SARVIK_MSG_SET_CAMERA_EXT_INFO,
     sizeof(_CameraExtInfo)},
    {SARVIK_INFO_FPA_HK160, SARVIK_MSG_GET_FPA_INFO_HK160, SARVIK_MSG_SET_FPA_INFO_HK160,
     sizeof(_FPAInfoHK160)},
    {SARVIK_INFO_CAMERA_BLOCK_0, SARVIK_MSG_GET_CAMERA_BLOCK_0, SARVIK_MSG_SET_CAMERA_BLOCK_0,
     sizeof(_CameraBlockInfo)},
    {SARVIK_INFO_CAMERA_BLOCK_1, SARVIK_MSG_GET_CAMERA_BLOCK_1, SARVIK_MSG_SET_CAMERA_BLOCK_1,
     sizeof(_CameraBlockInfo)},
    {SARVIK_INFO_CAMERA_BLOCK_2, SARVIK_MSG_GET_CAMERA_BLOCK_2, SARVIK_MSG_SET_CAMERA_BLOCK_2,
     sizeof(_CameraBlockInfo)},
};

const InfoType *find_info_type(int info) {
    for (const InfoType &t : kInfoTypes)
        if (t.info == info) return &t;
    return nullptr;
}

// The three request pairs of a detector family, by variant 0-2.
struct VariantTypes {
    uint16_t get[3];
    uint16_t set[3];
};

constexpr VariantTypes kFpaTypes = {
    {SARVIK_MSG_GET_FPA_INFO_0, SARVIK_MSG_GET_FPA_INFO_1, SARVIK_MSG_GET_FPA_INFO_2},
    {SARVIK_MSG_SET_FPA_INFO_0, SARVIK_MSG_SET_FPA_INFO_1, SARVIK_MSG_SET_FPA_INFO_2}};
constexpr VariantTypes kFpaAkTypes = {
    {SARVIK_MSG_GET_FPA_INFO_AK_0, SARVIK_MSG_GET_FPA_INFO_AK_1, SARVIK_MSG_GET_FPA_INFO_AK_2},
    {SARVIK_MSG_SET_FPA_INFO_AK_0, SARVIK_MSG_SET_FPA_INFO_AK_1, SARVIK_MSG_SET_FPA_INFO_AK_2}};
constexpr VariantTypes kFpaGdTypes = {
    {SARVIK_MSG_GET_FPA_INFO_GD_0, SARVIK_MSG_GET_FPA_INFO_GD_1, SARVIK_MSG_GET_FPA_INFO_GD_2},
    {SARVIK_MSG_SET_FPA_INFO_GD_0, SARVIK_MSG_SET_FPA_INFO_GD_1, SARVIK_MSG_SET_FPA_INFO_GD_2}};

bool valid_variant(int variant) {
    return variant >= 0 && variant <= 2;
}

template <typename Record>
int get_variant(int userId, const VariantTypes &types, Record *record, int variant) {
    if (!sdk_initialised()) return -4;
    if (!valid_variant(variant)) return -2;
    if (!record) return -8;
    return record_get(userId, types.get[variant], record, sizeof(Record));
}

template <typename Record>
int set_variant(int userId, const VariantTypes &types, const Record *record, int variant) {
    if (!sdk_initialised()) return -4;
    if (!valid_variant(variant)) return -2;
    if (!record) return -8;
    return record_set(userId, types.set[variant], record, sizeof(Record));
}

template <typename Record>
int get_record(int userId, uint16_t getType, Record *record) {
    if (!sdk_initialised()) return -4;
    if (!record) return -8;
    return record_get(userId, getType, record, sizeof(Record));
}

template <typename Record>
int set_record(int userId, uint16_t setType, const Record *record) {
    if (!sdk_initialised()) return -4;
    if (!record) return -8;
    return record_set(userId, setType, record, sizeof(Record));
}

}  // namespace

}  // namespace sarvik

using namespace sarvik;

extern "C" SARVIK_API int Sarvik_GetCameraBasicInfo(int userId, _CameraBasicInfo *info) {
    const int ret = get_record(userId, SARVIK_MSG_GET_CAMERA_BASIC_INFO, info);
    // A camera that never had a send ratio set reports 0, which means every frame: show it as 1.
    if (ret == 0 && info->sendRatio == 0) info->sendRatio = 1;
    return ret;
}

extern "C" SARVIK_API int Sarvik_SetCameraBasicInfo(int userId, const _CameraBasicInfo *info) {
    return set_record(userId, SARVIK_MSG_SET_CAMERA_BASIC_INFO, info);
}

extern "C" SARVIK_API int Sarvik_GetCameraNetworkInfo(int userId, _CameraNetworkInfo *info) {
    return get_record(userId, SARVIK_MSG_GET_CAMERA_NETWORK_INFO, info);
}

extern "C" SARVIK_API int Sarvik_SetCameraNetworkInfo(int userId, const _CameraNetworkInfo *info) {
    return set_record(userId, SARVIK_MSG_SET_CAMERA_NETWORK_INFO, info);
}

extern "C" SARVIK_API int Sarvik_GetFixInfo(int userId, _FixInfo *info) {
    return get_record(userId, SARVIK_MSG_GET_FIX_INFO, info);
}

extern "C" SARVIK_API int Sarvik_SetFixInfo(int userId, const _FixInfo *info) {
    return set_record(userId, SARVIK_MSG_SET_FIX_INFO, info);
}

extern "C" SARVIK_API int Sarvik_GetFFCInfo(int userId, _FFCInfo *info) {
    return get_record(userId, SARVIK_MSG_GET_FFC_INFO, info);
}

extern "C" SARVIK_API int Sarvik_SetFFCInfo(int userId, const _FFCInfo *info) {
    return set_record(userId, SARVIK_MSG_SET_FFC_INFO, info);
}

extern "C" SARVIK_API int Sarvik_GetTvoutInfo(int userId, _TvoutInfo *info) {
    return get_record(userId, SARVIK_MSG_GET_TVOUT_INFO, info);
}

extern "C" SARVIK_API int Sarvik_SetTvoutInfo(int userId, const _TvoutInfo *info) {
    return set_record(userId, SARVIK_MSG_SET_TVOUT_INFO, info);
}

extern "C" SARVIK_API int Sarvik_GetCameraOutputInfo(int userId, _CameraOutputInfo *info) {
    return get_record(userId, SARVIK_MSG_GET_CAMERA_OUTPUT_INFO, info);
}

extern "C" SARVIK_API int Sarvik_SetCameraOutputInfo(int userId, const _CameraOutputInfo *info) {
    return set_record(userId, SARVIK_MSG_SET_CAMERA_OUTPUT_INFO, info);
}

extern "C" SARVIK_API int Sarvik_GetCameraTimeInfo(int userId, _CameraTimeInfo *info) {
    return get_record(userId, SARVIK_MSG_GET_CAMERA_TIME_INFO, info);
}

extern "C" SARVIK_API int Sarvik_SetCameraTimeInfo(int userId, const _CameraTimeInfo *info) {
    return set_record(userId, SARVIK_MSG_SET_CAMERA_TIME_INFO, info);
}

extern "C" SARVIK_API int Sarvik_GetCameraOSDInfo(int userId, _CameraOSDInfo *info) {
    return get_record(userId, SARVIK_MSG_GET_CAMERA_OSD_INFO, info);
}

extern "C" SARVIK_API int Sarvik_SetCameraOSDInfo(int userId, const _CameraOSDInfo *info) {
    return set_record(userId, SARVIK_MSG_SET_CAMERA_OSD_INFO, info);
}

extern "C" SARVIK_API int Sarvik_GetGpioInfo(int userId, _GpioInfo *info) {
    return get_record(userId, SARVIK_MSG_GET_GPIO_INFO, info);
}

extern "C" SARVIK_API int Sarvik_SetGpioInfo(int userId, const _GpioInfo *info) {
    return set_record(userId, SARVIK_MSG_SET_GPIO_INFO, info);
}

extern "C" SARVIK_API int Sarvik_GetSerialPortInfo(int userId, _SerialPortInfo *info) {
    return get_record(userId, SARVIK_MSG_GET_SERIAL_PORT_INFO, info);
}

extern "C" SARVIK_API int Sarvik_SetSerialPortInfo(int userId, const _SerialPortInfo *info) {
    return set_record(userId, SARVIK_MSG_SET_SERIAL_PORT_INFO, info);
}

extern "C" SARVIK_API int Sarvik_GetCameraPluginInfo(int userId, _CameraPluginInfo *info) {
    if (!sdk_initialised()) return -4;
    if (!info) return -8;
    return plugin_exchange(userId, SARVIK_PLUGIN_OP_READ, info);
}

extern "C" SARVIK_API int Sarvik_SetCameraPluginInfo(int userId, const _CameraPluginInfo *info) {
    if (!sdk_initialised()) return -4;
    if (!info) return -8;
    _CameraPluginInfo copy = *info;
    return plugin_exchange(userId, SARVIK_PLUGIN_OP_WRITE, &copy);
}

extern "C" SARVIK_API int Sarvik_GetFPAInfo(int userId, _FPAInfo *info, int variant) {
    return get_variant(userId, kFpaTypes, info, variant);
}

extern "C" SARVIK_API int Sarvik_SetFPAInfo(int userId, const _FPAInfo *info, int variant) {
    return set_variant(userId, kFpaTypes, info, variant);
}

extern "C" SARVIK_API int Sarvik_GetFPAInfoAK(int userId, _FPAInfoAK *info, int variant) {
    return get_variant(userId, kFpaAkTypes, info, variant);
}

extern "C" SARVIK_API int Sarvik_SetFPAInfoAK(int userId, const _FPAInfoAK *info, int variant) {
    return set_variant(userId, kFpaAkTypes, info, variant);
}

extern "C" SARVIK_API int Sarvik_GetFPAInfoGD(int userId, _FPAInfoGD *info, int variant) {
    return get_variant(userId, kFpaGdTypes, info, variant);
}

extern "C" SARVIK_API int Sarvik_SetFPAInfoGD(int userId, const _FPAInfoGD *info, int variant) {
    return set_variant(userId, kFpaGdTypes, info, variant);
}

extern "C" SARVIK_API int Sarvik_GetFPAInfoHK160(int userId, _FPAInfoHK160 *info) {
    return get_record(userId, SARVIK_MSG_GET_FPA_INFO_HK160, info);
}

extern "C" SARVIK_API int Sarvik_SetFPAInfoHK160(int userId, const _FPAInfoHK160 *info) {
    return set_record(userId, SARVIK_MSG_SET_FPA_INFO_HK160, info);
}

extern "C" SARVIK_API int Sarvik_GetInfo(int userId, int infoType, void *buffer, int size) {
    if (!sdk_initialised()) return -4;
    const InfoType *t = find_info_type(infoType);
    if (!t || !buffer || size < t->size) return -8;
    if (t->info == SARVIK_INFO_CAMERA_PLUGIN)
        return plugin_exchange(userId, SARVIK_PLUGIN_OP_READ, static_cast<_CameraPluginInfo *>(buffer));
    // The raw record: no sendRatio adjustment here.
    return record_get(userId, t->getType, buffer, t->size);
}

extern "C" SARVIK_API int Sarvik_SetInfo(int userId, int infoType, const void *buffer, int size) {
    if (!sdk_initialised()) return -4;
    const InfoType *t = find_info_type(infoType);
    if (!t || !buffer || size < t->size) return -8;
    if (t->info == SARVIK_INFO_CAMERA_PLUGIN) {
        _CameraPluginInfo copy;
        std::memcpy(&copy, buffer, sizeof copy);
        return plugin_exchange(userId, SARVIK_PLUGIN_OP_WRITE, &copy);
    }
    return record_set(userId, t->setType, buffer, t->size);
}
