// Window transmission from two readings of one blackbody (directly and through the window) and the ambient
// temperature, on the camera's in-band radiance scale.
#include <climits>
#include <cmath>
#include <limits>

#include "correction_tables.h"

namespace sarvik {

namespace {

constexpr int kRows = 275;
constexpr int32_t kFirstMilliC = -50000;  // row i lies at -50 C + 8.192 C * i
constexpr int32_t kStepMilliC = 8192;

constexpr int32_t kRadiance[kRows] = {
    1000,   1235,   1505,   1812,   2158,   2545,   2974,   3446,   3963,   4526,   5134,   5789,   6492,
    7241,   8039,   8883,   9775,   10715,  11701,  12733,  13812,  14936,  16105,  17319,  18576,  19876,
    21218,  22602,  24027,  25492,  26996,  28538,  30118,  31735,  33388,  35076,  36799,  38555,  40344,
    42166,  44019,  45902,  47816,  49759,  51730,  53730,  55756,  57809,  59888,  61993,  64122,  66275,
    68452,  70651,  72873,  75117,  77382,  79668,  81974,  84300,  86646,  89010,  91393,  93794,  96212,
    98648,  101100, 103568, 106053, 108553, 111069, 113599, 116144, 118703, 121276, 123863, 126463, 129075,
    131701, 134339, 136989, 139651, 142325, 145010, 147706, 150412, 153130, 155858, 158596, 161344, 164102,
    166869, 169646, 172432, 175227, 178031, 180843, 183664, 186493, 189330, 192175, 195028, 197888, 200756,
    203631, 206513, 209403, 212299, 215202, 218112, 221028, 223951, 226880, 229815, 232756, 235703, 238656,
    241615, 244579, 247549, 250524, 253504, 256490, 259481, 262477, 265477, 268483, 271494, 274509, 277528,
    280553, 283581, 286614, 289652, 292694, 295739, 298789, 301843, 304901, 307963, 311028, 314098, 317171,
    320248, 323328, 326412, 329499, 332590, 335684, 338781, 341882, 344986, 348093, 351203, 354316, 357433,
    360552, 363674, 366799, 369927, 373058, 376191, 379327, 382466, 385607, 388752, 391898, 395047, 398199,
    401353, 404510, 407669, 410830, 413993, 417159, 420327, 423498, 426670, 429845, 433022, 436201, 439382,
    442565, 445750, 448937, 452126, 455317, 458510, 461705, 464901, 468100, 471300, 474502, 477706, 480911,
    484119, 487328, 490538, 493751, 496965, 500180, 503398, 506616, 509837, 513059, 516282, 519507, 522733,
    525961, 529191, 532421, 535653, 538887, 542122, 545358, 548596, 551835, 555075, 558317, 561559, 564804,
    568049, 571296, 574543, 577792, 581043, 584294, 587547, 590800, 594055, 597311, 600569, 603827, 607086,
    610347, 613608, 616871, 620134, 623399, 626665, 629931, 633199, 636468, 639737, 643008, 646280, 649552,
    652826, 656100, 659375, 662652, 665929, 669207, 672486, 675765, 679046, 682328, 685610, 688893, 692177,
    695462, 698748, 702034, 705321, 708609, 711898, 715188, 718478, 721769, 725061, 728354, 731647, 734941,
    738236, 741532};

constexpr int32_t row_milli_c(int i) {
    return kFirstMilliC + kStepMilliC * i;
}

// (int)(1000 x), truncated toward zero; values beyond int32 saturate instead of being undefined.
int32_t milli_c(double celsius) {
    const double scaled = 1000.0 * celsius;
    if (scaled >= static_cast<double>(INT32_MAX)) return INT32_MAX;
    if (scaled <= static_cast<double>(INT32_MIN)) return INT32_MIN;
    return static_cast<int32_t>(scaled);
}

}  // namespace

int64_t radiance_at(int32_t a) {
    int i = 1;
    while (i < kRows - 1 && row_milli_c(i) <= a) ++i;
    const int64_t r0 = kRadiance[i - 1], r1 = kRadiance[i];
    // The product reaches 2^44 at the ends of int32; 32 bits would overflow from about 2838 C on.
    return r0 + (r1 - r0) * (static_cast<int64_t>(a) - row_milli_c(i - 1)) / kStepMilliC;
}

}  // namespace sarvik

extern "C" SARVIK_API double FixTrans_CalcTrans(double bbTemp1, double bbTemp2, double envTemp) {
    if (std::isnan(bbTemp1) || std::isnan(bbTemp2) || std::isnan(envTemp))
        return std::numeric_limits<double>::quiet_NaN();
    const int64_t env = sarvik::radiance_at(sarvik::milli_c(envTemp));
    const double num = static_cast<double>(sarvik::radiance_at(sarvik::milli_c(bbTemp2)) - env);
    const double den = static_cast<double>(sarvik::radiance_at(sarvik::milli_c(bbTemp1)) - env);
    // Equal radiances of bbTemp1 and envTemp leave no finite quotient; spelled out rather than divided.
    if (den == 0.0)
        return num == 0.0 ? std::numeric_limits<double>::quiet_NaN()
                          : std::copysign(std::numeric_limits<double>::infinity(), num);
    return num / den;
}
