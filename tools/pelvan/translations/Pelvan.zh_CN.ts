<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name></name>
    <message id="OK">
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message id="Cancel">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="Close">
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message id="Success">
        <source>Success</source>
        <translation>成功</translation>
    </message>
    <message id="Fail">
        <source>Fail</source>
        <translation>失败</translation>
    </message>
    <message id="ValueRange">
        <source>ValueRange</source>
        <translation>范围</translation>
    </message>
    <message id="Select">
        <source>Select</source>
        <translation>选择</translation>
    </message>
    <message id="SelectAll">
        <source>SelectAll</source>
        <translation>全选</translation>
    </message>
    <message id="Row">
        <source>Row</source>
        <translation>行</translation>
    </message>
    <message id="SelectedRows">
        <source>SelectedRows</source>
        <translation>已选行数</translation>
    </message>
    <message id="SelectColor">
        <source>SelectColor</source>
        <translation>选择颜色</translation>
    </message>
    <message id="zh_CN">
        <source>zh_CN</source>
        <translation>中文</translation>
    </message>
    <message id="en_US">
        <source>en_US</source>
        <translation>English (英文)</translation>
    </message>
    <message id="TCP">
        <source>TCP</source>
        <translation>TCP</translation>
    </message>
    <message id="UDP">
        <source>UDP</source>
        <translation>UDP</translation>
    </message>
    <message id="StrechType_PHE">
        <source>StrechType_PHE</source>
        <translation>直方图均衡</translation>
    </message>
    <message id="StrechType_LINEAR">
        <source>StrechType_LINEAR</source>
        <translation>线性</translation>
    </message>
    <message id="ColorTempType_None">
        <source>ColorTempType_None</source>
        <translation>无</translation>
    </message>
    <message id="ColorTempType_High">
        <source>ColorTempType_High</source>
        <translation>高温报警</translation>
    </message>
    <message id="ColorTempType_Low">
        <source>ColorTempType_Low</source>
        <translation>低温报警</translation>
    </message>
    <message id="ColorTempType_Mid">
        <source>ColorTempType_Mid</source>
        <translation>区间内报警</translation>
    </message>
    <message id="ColorTempType_ExMid">
        <source>ColorTempType_ExMid</source>
        <translation>区间外报警</translation>
    </message>
    <message id="TextPos_None">
        <source>TextPos_None</source>
        <translation>不显示</translation>
    </message>
    <message id="TextPos_TopLeft">
        <source>TextPos_TopLeft</source>
        <translation>左上</translation>
    </message>
    <message id="TextPos_TopRight">
        <source>TextPos_TopRight</source>
        <translation>右上</translation>
    </message>
    <message id="TextPos_BottomLeft">
        <source>TextPos_BottomLeft</source>
        <translation>左下</translation>
    </message>
    <message id="TextPos_BottomRight">
        <source>TextPos_BottomRight</source>
        <translation>右下</translation>
    </message>
    <message id="IRDestripType_None">
        <source>IRDestripType_None</source>
        <translation>关闭</translation>
    </message>
    <message id="IRDestripType_ColV1">
        <source>IRDestripType_ColV1</source>
        <translation>列去条纹 V1</translation>
    </message>
    <message id="IRDestripType_ColV1opt">
        <source>IRDestripType_ColV1opt</source>
        <translation>列去条纹 V1 优化</translation>
    </message>
    <message id="IRDestripType_ColV2">
        <source>IRDestripType_ColV2</source>
        <translation>列去条纹 V2</translation>
    </message>
    <message id="IRDenoiseType_None">
        <source>IRDenoiseType_None</source>
        <translation>关闭</translation>
    </message>
    <message id="IRDenoiseType_GF">
        <source>IRDenoiseType_GF</source>
        <translation>导向滤波</translation>
    </message>
    <message id="IRDenoiseType_GFSub2">
        <source>IRDenoiseType_GFSub2</source>
        <translation>导向滤波（1/2 采样）</translation>
    </message>
    <message id="IRDenoiseType_GFSub4">
        <source>IRDenoiseType_GFSub4</source>
        <translation>导向滤波（1/4 采样）</translation>
    </message>
    <message id="MeaTool_Select">
        <source>MeaTool_Select</source>
        <translation>选择</translation>
    </message>
    <message id="MeaTool_Point1x1">
        <source>MeaTool_Point1x1</source>
        <translation>点</translation>
    </message>
    <message id="MeaTool_Point1x1Desc">
        <source>MeaTool_Point1x1Desc</source>
        <translation>测量单个像素</translation>
    </message>
    <message id="MeaTool_Point3x3">
        <source>MeaTool_Point3x3</source>
        <translation>3×3 点</translation>
    </message>
    <message id="MeaTool_Point3x3Desc">
        <source>MeaTool_Point3x3Desc</source>
        <translation>测量点周围 3×3 像素</translation>
    </message>
    <message id="MeaTool_PointCross">
        <source>MeaTool_PointCross</source>
        <translation>十字点</translation>
    </message>
    <message id="MeaTool_PointCrossDesc">
        <source>MeaTool_PointCrossDesc</source>
        <translation>测量点及其上下左右四个像素</translation>
    </message>
    <message id="MeaTool_Line">
        <source>MeaTool_Line</source>
        <translation>直线</translation>
    </message>
    <message id="MeaTool_LineDesc">
        <source>MeaTool_LineDesc</source>
        <translation>沿直线测量</translation>
    </message>
    <message id="MeaTool_Polyline">
        <source>MeaTool_Polyline</source>
        <translation>折线</translation>
    </message>
    <message id="MeaTool_PolylineDesc">
        <source>MeaTool_PolylineDesc</source>
        <translation>沿折线测量，双击结束</translation>
    </message>
    <message id="MeaTool_Ellipse">
        <source>MeaTool_Ellipse</source>
        <translation>椭圆</translation>
    </message>
    <message id="MeaTool_EllipseDesc">
        <source>MeaTool_EllipseDesc</source>
        <translation>测量椭圆内区域</translation>
    </message>
    <message id="MeaTool_Circle">
        <source>MeaTool_Circle</source>
        <translation>圆</translation>
    </message>
    <message id="MeaTool_CircleDesc">
        <source>MeaTool_CircleDesc</source>
        <translation>测量圆内区域</translation>
    </message>
    <message id="MeaTool_Custom">
        <source>MeaTool_Custom</source>
        <translation>自定义</translation>
    </message>
    <message id="MeaTool_CustomDesc">
        <source>MeaTool_CustomDesc</source>
        <translation>测量自定义区域</translation>
    </message>
    <message id="MeaTool_Rectangle">
        <source>MeaTool_Rectangle</source>
        <translation>矩形</translation>
    </message>
    <message id="MeaTool_RectangleDesc">
        <source>MeaTool_RectangleDesc</source>
        <translation>测量矩形内区域</translation>
    </message>
    <message id="MeaTool_Square">
        <source>MeaTool_Square</source>
        <translation>正方形</translation>
    </message>
    <message id="MeaTool_SquareDesc">
        <source>MeaTool_SquareDesc</source>
        <translation>测量正方形内区域</translation>
    </message>
    <message id="MeaTool_Polygon">
        <source>MeaTool_Polygon</source>
        <translation>多边形</translation>
    </message>
    <message id="MeaTool_PolygonDesc">
        <source>MeaTool_PolygonDesc</source>
        <translation>测量多边形内区域，双击闭合</translation>
    </message>
    <message id="MeaTool_EditPoint">
        <source>MeaTool_EditPoint</source>
        <translation>编辑顶点</translation>
    </message>
    <message id="MeaTool_EditPointDesc">
        <source>MeaTool_EditPointDesc</source>
        <translation>添加或删除图形的顶点</translation>
    </message>
    <message id="MeaTool_Hide">
        <source>MeaTool_Hide</source>
        <translation>隐藏</translation>
    </message>
    <message id="MeaTool_HideDesc">
        <source>MeaTool_HideDesc</source>
        <translation>隐藏或显示所有测温对象</translation>
    </message>
    <message id="Manual">
        <source>Manual</source>
        <translation>用户手册</translation>
    </message>
    <message id="ManualMissing">
        <source>ManualMissing</source>
        <translation>未安装用户手册</translation>
    </message>
    <message id="AppConfig">
        <source>AppConfig</source>
        <translation>设置</translation>
    </message>
    <message id="Save">
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message id="LanguageNextStart">
        <source>LanguageNextStart</source>
        <translation>已保存，语言将在下次启动时生效。</translation>
    </message>
    <message id="SelectFolder">
        <source>SelectFolder</source>
        <translation>选择文件夹</translation>
    </message>
    <message id="Language">
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message id="SaveDir">
        <source>SaveDir</source>
        <translation>保存目录</translation>
    </message>
    <message id="TransType">
        <source>TransType</source>
        <translation>传输方式</translation>
    </message>
    <message id="ChartUpdateInterval">
        <source>ChartUpdateInterval</source>
        <translation>曲线间隔（秒）</translation>
    </message>
    <message id="ChartUpdateIntervalTip">
        <source>ChartUpdateIntervalTip</source>
        <translation>两个曲线采样之间的秒数</translation>
    </message>
    <message id="ChartFifoSize">
        <source>ChartFifoSize</source>
        <translation>曲线长度</translation>
    </message>
    <message id="ChartFifoSizeTip">
        <source>ChartFifoSizeTip</source>
        <translation>每条曲线保留的采样数</translation>
    </message>
    <message id="Preview">
        <source>Preview</source>
        <translation>预览</translation>
    </message>
    <message id="Config">
        <source>Config</source>
        <translation>配置</translation>
    </message>
    <message id="DeviceConfig">
        <source>DeviceConfig</source>
        <translation>设备配置</translation>
    </message>
    <message id="DeviceCust">
        <source>DeviceCust</source>
        <translation>自定义表</translation>
    </message>
    <message id="DeviceCali">
        <source>DeviceCali</source>
        <translation>标定</translation>
    </message>
    <message id="DeviceWeiJu">
        <source>DeviceWeiJu</source>
        <translation>窗口透过率</translation>
    </message>
    <message id="DeviceFixDist">
        <source>DeviceFixDist</source>
        <translation>距离修正</translation>
    </message>
    <message id="DeviceList">
        <source>DeviceList</source>
        <translation>设备列表</translation>
    </message>
    <message id="Search">
        <source>Search</source>
        <translation>搜索</translation>
    </message>
    <message id="Add">
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message id="InvalidIp">
        <source>InvalidIp</source>
        <translation>无效的 IP 地址</translation>
    </message>
    <message id="Play">
        <source>Play</source>
        <translation>播放</translation>
    </message>
    <message id="Stop">
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message id="Snap">
        <source>Snap</source>
        <translation>拍照</translation>
    </message>
    <message id="RecordBegin">
        <source>RecordBegin</source>
        <translation>开始录像</translation>
    </message>
    <message id="RecordEnd">
        <source>RecordEnd</source>
        <translation>停止录像</translation>
    </message>
    <message id="FFC">
        <source>FFC</source>
        <translation>快门校正</translation>
    </message>
    <message id="Chart">
        <source>Chart</source>
        <translation>曲线</translation>
    </message>
    <message id="FPS">
        <source>FPS</source>
        <translation>帧率</translation>
    </message>
    <message id="Shell">
        <source>Shell</source>
        <translation>壳温</translation>
    </message>
    <message id="GPI">
        <source>GPI</source>
        <translation>GPI</translation>
    </message>
    <message id="Max">
        <source>Max</source>
        <translation>最高</translation>
    </message>
    <message id="Avg">
        <source>Avg</source>
        <translation>平均</translation>
    </message>
    <message id="Min">
        <source>Min</source>
        <translation>最低</translation>
    </message>
    <message id="ImageConfig">
        <source>ImageConfig</source>
        <translation>图像设置</translation>
    </message>
    <message id="MeaConfig">
        <source>MeaConfig</source>
        <translation>测温设置</translation>
    </message>
    <message id="IRImage_PaletteType">
        <source>IRImage_PaletteType</source>
        <translation>调色板</translation>
    </message>
    <message id="IRImage_StrechType">
        <source>IRImage_StrechType</source>
        <translation>拉伸方式</translation>
    </message>
    <message id="IRImage_Gain">
        <source>IRImage_Gain</source>
        <translation>增益</translation>
    </message>
    <message id="IRImage_Temp2Gray">
        <source>IRImage_Temp2Gray</source>
        <translation>温度跨度</translation>
    </message>
    <message id="IRImage_DDELevel">
        <source>IRImage_DDELevel</source>
        <translation>细节增强</translation>
    </message>
    <message id="IRImage_MTEnable">
        <source>IRImage_MTEnable</source>
        <translation>手动温宽</translation>
    </message>
    <message id="IRImage_MTTemp0">
        <source>IRImage_MTTemp0</source>
        <translation>温宽下限</translation>
    </message>
    <message id="IRImage_MTTemp1">
        <source>IRImage_MTTemp1</source>
        <translation>温宽上限</translation>
    </message>
    <message id="IRImage_CTType">
        <source>IRImage_CTType</source>
        <translation>颜色报警</translation>
    </message>
    <message id="IRImage_CTTemp0">
        <source>IRImage_CTTemp0</source>
        <translation>报警下限</translation>
    </message>
    <message id="IRImage_CTTemp1">
        <source>IRImage_CTTemp1</source>
        <translation>报警上限</translation>
    </message>
    <message id="IRImage_CTColor0">
        <source>IRImage_CTColor0</source>
        <translation>报警颜色 1</translation>
    </message>
    <message id="IRImage_CTColor1">
        <source>IRImage_CTColor1</source>
        <translation>报警颜色 2</translation>
    </message>
    <message id="MeaName">
        <source>MeaName</source>
        <translation>名称</translation>
    </message>
    <message id="MeaColor">
        <source>MeaColor</source>
        <translation>颜色</translation>
    </message>
    <message id="TextPos">
        <source>TextPos</source>
        <translation>标签位置</translation>
    </message>
    <message id="TrackHigh">
        <source>TrackHigh</source>
        <translation>跟踪最高温</translation>
    </message>
    <message id="TrackLow">
        <source>TrackLow</source>
        <translation>跟踪最低温</translation>
    </message>
    <message id="FixEnable">
        <source>FixEnable</source>
        <translation>修正</translation>
    </message>
    <message id="FixEmi">
        <source>FixEmi</source>
        <translation>发射率</translation>
    </message>
    <message id="FixReflectTemp">
        <source>FixReflectTemp</source>
        <translation>反射温度</translation>
    </message>
    <message id="More">
        <source>More</source>
        <translation>更多</translation>
    </message>
    <message id="DeviceChart">
        <source>DeviceChart</source>
        <translation>温度曲线</translation>
    </message>
    <message id="DeviceId">
        <source>DeviceId</source>
        <translation>设备 ID</translation>
    </message>
    <message id="DeviceIp">
        <source>DeviceIp</source>
        <translation>IP 地址</translation>
    </message>
    <message id="SoftwareId">
        <source>SoftwareId</source>
        <translation>软件版本</translation>
    </message>
    <message id="FPAId">
        <source>FPAId</source>
        <translation>探测器</translation>
    </message>
    <message id="Message">
        <source>Message</source>
        <translation>信息</translation>
    </message>
    <message id="Firmware">
        <source>Firmware</source>
        <translation>固件</translation>
    </message>
    <message id="Network">
        <source>Network</source>
        <translation>网络</translation>
    </message>
    <message id="NoDevice">
        <source>NoDevice</source>
        <translation>未选择设备</translation>
    </message>
    <message id="Upload">
        <source>Upload</source>
        <translation>上传</translation>
    </message>
    <message id="UploadMulti">
        <source>UploadMulti</source>
        <translation>批量上传</translation>
    </message>
    <message id="NoFile">
        <source>NoFile</source>
        <translation>未选择文件</translation>
    </message>
    <message id="InvalidFile">
        <source>InvalidFile</source>
        <translation>文件类型错误</translation>
    </message>
    <message id="Download">
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message id="RestoreFactory">
        <source>RestoreFactory</source>
        <translation>恢复出厂设置</translation>
    </message>
    <message id="RestartDevice">
        <source>RestartDevice</source>
        <translation>重启设备</translation>
    </message>
    <message id="DeviceCom">
        <source>DeviceCom</source>
        <translation>串口</translation>
    </message>
    <message id="Set">
        <source>Set</source>
        <translation>设置</translation>
    </message>
    <message id="GetTime">
        <source>GetTime</source>
        <translation>读取时间</translation>
    </message>
    <message id="SetTime">
        <source>SetTime</source>
        <translation>设置时间</translation>
    </message>
    <message id="SetTimeMulti">
        <source>SetTimeMulti</source>
        <translation>批量设置时间</translation>
    </message>
    <message id="Light">
        <source>Light</source>
        <translation>补光灯</translation>
    </message>
    <message id="LedYellow">
        <source>LedYellow</source>
        <translation>黄灯</translation>
    </message>
    <message id="LedBlue">
        <source>LedBlue</source>
        <translation>蓝灯</translation>
    </message>
    <message id="Alarm">
        <source>Alarm</source>
        <translation>报警</translation>
    </message>
    <message id="Buzz">
        <source>Buzz</source>
        <translation>蜂鸣器</translation>
    </message>
    <message id="SetGpio">
        <source>SetGpio</source>
        <translation>设置输出</translation>
    </message>
    <message id="OpenFile">
        <source>OpenFile</source>
        <translation>打开文件</translation>
    </message>
    <message id="SaveFile">
        <source>SaveFile</source>
        <translation>保存文件</translation>
    </message>
    <message id="Edit">
        <source>Edit</source>
        <translation>修改</translation>
    </message>
    <message id="LiveImage">
        <source>LiveImage</source>
        <translation>实时图像</translation>
    </message>
    <message id="SkippedFrames">
        <source>SkippedFrames</source>
        <translation>丢弃帧数</translation>
    </message>
    <message id="GearLevel">
        <source>GearLevel</source>
        <translation>档位</translation>
    </message>
</context>
</TS>
