/* Uses the public header from C11: builds the records a C caller builds. */
#include "records_c.h"

#include <string.h>

void rc_time_set_message(uint8_t out[72], int year, int month, int day, int hour, int minute, int second)
{
    _MsgHeader header;
    _CtlX ctl;
    memset(&ctl, 0, sizeof ctl);
    header.type = SARVIK_MSG_CONTROL_X;
    header.length = (uint16_t)(sizeof header + sizeof ctl);
    ctl.command = SARVIK_CTLX_SET_TIME;
    ctl.data[0] = year;
    ctl.data[1] = month;
    ctl.data[2] = day;
    ctl.data[3] = hour;
    ctl.data[4] = minute;
    ctl.data[5] = second;
    memcpy(out, &header, sizeof header);
    memcpy(out + sizeof header, &ctl, sizeof ctl);
}

void rc_preview_param(PreviewParam* param, PreviewFrameCallback callback, void* user)
{
    memset(param, 0, sizeof *param);
    param->previewKind = SARVIK_PREVIEW_TEMPERATURE;
    param->transType = SARVIK_TRANSPORT_UDP;
    param->display = NULL;
    param->callback = callback;
    param->user = user;
    param->reserved_32 = 0xBEEF;
}

void rc_strech_all(_strech_control* ctl)
{
    memset(ctl, 0, sizeof *ctl);
    ctl->flags = SARVIK_STRECH_ALL;
    ctl->strechType = SARVIK_STRECH_LINEAR;
    ctl->reserved_5[0] = 50;
    ctl->reserved_5[1] = 50;
    ctl->gain = 2.0f;
    ctl->man_temp0 = -123;
    ctl->man_temp1 = 400;
    ctl->man_enable = 1;
    ctl->temp2gray = 20;
    ctl->ddeLevel = 8;
    ctl->ct_type = SARVIK_MARK_OUTSIDE;
    ctl->ct_temp0 = 300;
    ctl->ct_temp1 = -50;
    ctl->ct_color0 = 0xFF00FFFFu;
    ctl->ct_color1 = 0xFFFF0000u;
}

void rc_deliver(const PreviewParam* param, int status, _DataFrame* frame)
{
    param->callback(status, frame, param->user);
}
