// Measurement library of the desktop tools: maximum, average and minimum temperature of one measurement
// object on one temperature frame, and cached raw-to-temperature lookup tables.
//
// Free functions over one process-wide context. Not thread-safe: every caller runs on the GUI thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "SarvikSDK.h"

/** Measurement types. The numbers double as the canvas tool codes. */
enum XMeaType : uint8_t {
    MEA_GLOBAL = 0,     /**< whole frame */
    MEA_POINT = 1,      /**< one pixel */
    MEA_POINT3X3 = 2,   /**< mean of the 3 x 3 block around the point */
    MEA_POINTCROSS = 3, /**< one pixel, drawn with a cross marker */
    MEA_LINE = 4,       /**< one segment (measured as a polyline) */
    MEA_POLYLINE = 5,   /**< 2 ... 32 points */
    MEA_ELLIPSE = 6,    /**< ellipse inside the box of points 0 and 1 */
    MEA_CIRCLE = 7,     /**< circle: box x0 ... x1, y0 ... y0 + (x1 - x0) */
    MEA_CUSTOM = 8,     /**< not measurable */
    MEA_RECT = 9,       /**< box of points 0 and 1 */
    MEA_SQUARE = 10,    /**< box x0 ... x1, y0 ... y0 + (x1 - x0) */
    MEA_POLYGON = 11    /**< 3 ... 32 points, even-odd rule */
};

/** Bits of XMea::flags. */
enum XMeaFlag : uint8_t {
    MEA_FLAG_TRACK_HIGH = 1, /**< mark the maximum */
    MEA_FLAG_TRACK_LOW = 2   /**< mark the minimum */
};

/** Label positions of XMea::textPos. */
enum XMeaTextPos : uint8_t {
    MEA_TEXT_NONE = 0,
    MEA_TEXT_TOP_LEFT = 1,
    MEA_TEXT_TOP_RIGHT = 2,
    MEA_TEXT_BOTTOM_LEFT = 3,
    MEA_TEXT_BOTTOM_RIGHT = 4
};

enum {
    MEA_NAME_SIZE = 64, /**< bytes of XMea::name, zero terminator included */
    MEA_POINT_MAX = 32  /**< points an object can hold */
};

/** One point of a measurement object, in frame pixels. */
typedef struct XMeaPoint {
    uint16_t x;
    uint16_t y;
} XMeaPoint;
static_assert(sizeof(XMeaPoint) == 4, "XMeaPoint is 4 bytes");

/** One measurement object, 216 bytes little-endian; canvas items keep one and copy it whole. */
typedef struct XMea {
    char name[MEA_NAME_SIZE]; /**< UTF-8, zero-terminated (at most 63 bytes) */
    uint32_t color;           /**< 0xAARRGGBB; the tool always stores alpha 0xFF */
    uint8_t type;             /**< XMeaType */
    uint8_t flags;            /**< XMeaFlag bits */
    uint8_t textPos;          /**< XMeaTextPos */
    uint8_t reserved_71;      /**< 0 */
    uint32_t fixEnable;       /**< non-zero: apply the emissivity correction */
    float fixEmi;             /**< emissivity, used only when 0.01 < fixEmi < 1.01 */
    float fixReflectTemp;     /**< reflected (background) temperature, deg C */
    uint16_t reserved_84;     /**< 0; the label is drawn only while it is 0 */
    uint16_t count;           /**< points used */
    XMeaPoint points[MEA_POINT_MAX];
} XMea;
static_assert(sizeof(XMea) == 216, "XMea is 216 bytes");
static_assert(offsetof(XMea, color) == 64, "XMea.color");
static_assert(offsetof(XMea, type) == 68, "XMea.type");
static_assert(offsetof(XMea, flags) == 69, "XMea.flags");
static_assert(offsetof(XMea, textPos) == 70, "XMea.textPos");
static_assert(offsetof(XMea, fixEnable) == 72, "XMea.fixEnable");
static_assert(offsetof(XMea, fixEmi) == 76, "XMea.fixEmi");
static_assert(offsetof(XMea, fixReflectTemp) == 80, "XMea.fixReflectTemp");
static_assert(offsetof(XMea, reserved_84) == 84, "XMea.reserved_84");
static_assert(offsetof(XMea, count) == 86, "XMea.count");
static_assert(offsetof(XMea, points) == 88, "XMea.points");

/** Result of one measurement object, 24 bytes: temperatures in deg C after correction, positions in
 *  frame pixels. */
typedef struct XResult {
    uint32_t reserved_0; /**< 0 */
    float maxTemp;
    float avgTemp;
    float minTemp;
    uint16_t maxX;
    uint16_t maxY;
    uint16_t minX;
    uint16_t minY;
} XResult;
static_assert(sizeof(XResult) == 24, "XResult is 24 bytes");
static_assert(offsetof(XResult, maxTemp) == 4, "XResult.maxTemp");
static_assert(offsetof(XResult, avgTemp) == 8, "XResult.avgTemp");
static_assert(offsetof(XResult, minTemp) == 12, "XResult.minTemp");
static_assert(offsetof(XResult, maxX) == 16, "XResult.maxX");
static_assert(offsetof(XResult, minX) == 20, "XResult.minX");

/** Initialises the library context. 0 on success or when already initialised; -5 when the working
 *  block cannot be allocated. Called once at start-up (TempCanvasManager::init). */
int Alg_Init();

/** Frees every lookup table and the working block; the library may be initialised again. */
void Alg_Free();

/** Lookup table raw value -> deg C for one slope and offset, built on first use and kept until Alg_Free.
 *  Returns the entry of raw value 0, so it can be indexed with any signed 16-bit raw value; a slope of 0
 *  counts as 1. Null when the library is not initialised or memory runs out. */
const double *Alg_GetLut(uint16_t slope, int16_t offset);

/** 0 when the object is measurable on a W x H frame, -8 otherwise (bad count, point outside). */
int Alg_CheckMea(const XMea *mea, uint16_t W, uint16_t H);

/** Measures one object on one frame (values: header->width x header->height raw values, row-major).
 *  A null mea or type 0 measures the whole frame. 0 on success; -8 for an invalid object or frame, in
 *  which case result is left untouched. */
int Alg_GetResult(const XMea *mea, const _DataFrameHeader *header, const int16_t *values, XResult *result);
