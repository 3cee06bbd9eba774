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
        <translation>微距镜头</translation>
    </message>
    <message id="DeviceFixDist">
        <source>DeviceFixDist</source>
        <translation>定距表</translation>
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
        <translation>坏点</translation>
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
    <message id="System">
        <source>System</source>
        <translation>系统</translation>
    </message>
    <message id="Interface">
        <source>Interface</source>
        <translation>接口</translation>
    </message>
    <message id="Advance">
        <source>Advance</source>
        <translation>高级</translation>
    </message>
    <message id="Plugin">
        <source>Plugin</source>
        <translation>插件</translation>
    </message>
    <message id="Test">
        <source>Test</source>
        <translation>测试</translation>
    </message>
    <message id="CameraBasicInfo">
        <source>CameraBasicInfo</source>
        <translation>基本信息</translation>
    </message>
    <message id="FixInfo">
        <source>FixInfo</source>
        <translation>温度修正</translation>
    </message>
    <message id="CameraNetworkInfo">
        <source>CameraNetworkInfo</source>
        <translation>网络设置</translation>
    </message>
    <message id="CameraTimeInfo">
        <source>CameraTimeInfo</source>
        <translation>时间设置</translation>
    </message>
    <message id="TvoutInfo">
        <source>TvoutInfo</source>
        <translation>视频输出</translation>
    </message>
    <message id="SerialPortInfo">
        <source>SerialPortInfo</source>
        <translation>串口</translation>
    </message>
    <message id="GpioInfo">
        <source>GpioInfo</source>
        <translation>GPIO</translation>
    </message>
    <message id="CameraOSDInfo">
        <source>CameraOSDInfo</source>
        <translation>屏幕叠加</translation>
    </message>
    <message id="FFCInfo">
        <source>FFCInfo</source>
        <translation>快门校正</translation>
    </message>
    <message id="DestripInfo">
        <source>DestripInfo</source>
        <translation>去条纹</translation>
    </message>
    <message id="DenoiseInfo">
        <source>DenoiseInfo</source>
        <translation>降噪</translation>
    </message>
    <message id="CameraPluginInfo">
        <source>CameraPluginInfo</source>
        <translation>插件设置</translation>
    </message>
    <message id="GB28181Info">
        <source>GB28181Info</source>
        <translation>GB/T 28181 设置</translation>
    </message>
    <message id="TestInfo">
        <source>TestInfo</source>
        <translation>输出测试</translation>
    </message>
    <message id="Apply">
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message id="ApplyAndClose">
        <source>ApplyAndClose</source>
        <translation>应用并关闭</translation>
    </message>
    <message id="InvalidInput">
        <source>InvalidInput</source>
        <translation>部分输入无效</translation>
    </message>
    <message id="ShowPassword">
        <source>ShowPassword</source>
        <translation>显示密码</translation>
    </message>
    <message id="GpioOutput">
        <source>GpioOutput</source>
        <translation>GPIO 输出</translation>
    </message>
    <message id="Shutter">
        <source>Shutter</source>
        <translation>快门</translation>
    </message>
    <message id="Open">
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message id="CalcTrans">
        <source>CalcTrans</source>
        <translation>窗口透过率计算</translation>
    </message>
    <message id="CalcTrans_t1">
        <source>CalcTrans_t1</source>
        <translation>直测 (°C)</translation>
    </message>
    <message id="CalcTrans_t2">
        <source>CalcTrans_t2</source>
        <translation>透窗 (°C)</translation>
    </message>
    <message id="CalcTrans_env">
        <source>CalcTrans_env</source>
        <translation>环境 (°C)</translation>
    </message>
    <message id="CalcTrans_result">
        <source>CalcTrans_result</source>
        <translation>透过率</translation>
    </message>
    <message id="Calc">
        <source>Calc</source>
        <translation>计算</translation>
    </message>
    <message id="CalcTransRule">
        <source>CalcTransRule</source>
        <translation>直测温度不能低于透窗温度</translation>
    </message>
    <message id="CalcTransNoResult">
        <source>CalcTransNoResult</source>
        <translation>无结果：直测温度与环境温度相同</translation>
    </message>
    <message id="CameraBasicInfo_cameraId">
        <source>CameraBasicInfo_cameraId</source>
        <translation>相机 ID</translation>
    </message>
    <message id="CameraBasicInfo_cameraType">
        <source>CameraBasicInfo_cameraType</source>
        <translation>型号</translation>
    </message>
    <message id="CameraBasicInfo_fpaId">
        <source>CameraBasicInfo_fpaId</source>
        <translation>探测器 ID</translation>
    </message>
    <message id="CameraBasicInfo_hardwareId">
        <source>CameraBasicInfo_hardwareId</source>
        <translation>硬件版本</translation>
    </message>
    <message id="CameraBasicInfo_softwareId">
        <source>CameraBasicInfo_softwareId</source>
        <translation>固件版本</translation>
    </message>
    <message id="CameraBasicInfo_dataWHF">
        <source>CameraBasicInfo_dataWHF</source>
        <translation>图像尺寸与帧率</translation>
    </message>
    <message id="CameraBasicInfo_cameraName">
        <source>CameraBasicInfo_cameraName</source>
        <translation>相机名称</translation>
    </message>
    <message id="CameraBasicInfo_dataRatio">
        <source>CameraBasicInfo_dataRatio</source>
        <translation>数据比例</translation>
    </message>
    <message id="CameraBasicInfo_sendRatio">
        <source>CameraBasicInfo_sendRatio</source>
        <translation>发送比例</translation>
    </message>
    <message id="CameraBasicInfo_dataTransform">
        <source>CameraBasicInfo_dataTransform</source>
        <translation>图像变换</translation>
    </message>
    <message id="CameraBasicInfo_desmearLevel">
        <source>CameraBasicInfo_desmearLevel</source>
        <translation>去拖影等级</translation>
    </message>
    <message id="FixInfo_enableAtmFix">
        <source>FixInfo_enableAtmFix</source>
        <translation>大气修正</translation>
    </message>
    <message id="FixInfo_atmosphericTemperature">
        <source>FixInfo_atmosphericTemperature</source>
        <translation>大气温度 (°C)</translation>
    </message>
    <message id="FixInfo_relativeHumidity">
        <source>FixInfo_relativeHumidity</source>
        <translation>相对湿度 (%)</translation>
    </message>
    <message id="FixInfo_visibility">
        <source>FixInfo_visibility</source>
        <translation>能见度 (km)</translation>
    </message>
    <message id="FixInfo_rainfallIntensity">
        <source>FixInfo_rainfallIntensity</source>
        <translation>降雨量 (mm/h)</translation>
    </message>
    <message id="FixInfo_snowfallIntensity">
        <source>FixInfo_snowfallIntensity</source>
        <translation>降雪量 (mm/h)</translation>
    </message>
    <message id="FixInfo_targetDistance">
        <source>FixInfo_targetDistance</source>
        <translation>目标距离 (m)</translation>
    </message>
    <message id="FixInfo_globalEmissivity">
        <source>FixInfo_globalEmissivity</source>
        <translation>发射率</translation>
    </message>
    <message id="FixInfo_infraredWindowTrans">
        <source>FixInfo_infraredWindowTrans</source>
        <translation>窗口透过率</translation>
    </message>
    <message id="FixInfo_tempOffset">
        <source>FixInfo_tempOffset</source>
        <translation>温度偏移 (°C)</translation>
    </message>
    <message id="FixInfo_infraredWindowTempOffset">
        <source>FixInfo_infraredWindowTempOffset</source>
        <translation>窗口温度偏移 (°C)</translation>
    </message>
    <message id="CameraNetworkInfo_useStaticIp">
        <source>CameraNetworkInfo_useStaticIp</source>
        <translation>静态地址</translation>
    </message>
    <message id="CameraNetworkInfo_staticIp">
        <source>CameraNetworkInfo_staticIp</source>
        <translation>IP 地址</translation>
    </message>
    <message id="CameraNetworkInfo_subnetMask">
        <source>CameraNetworkInfo_subnetMask</source>
        <translation>子网掩码</translation>
    </message>
    <message id="CameraNetworkInfo_gateway">
        <source>CameraNetworkInfo_gateway</source>
        <translation>网关</translation>
    </message>
    <message id="CameraNetworkInfo_dns">
        <source>CameraNetworkInfo_dns</source>
        <translation>首选 DNS</translation>
    </message>
    <message id="CameraNetworkInfo_dns2">
        <source>CameraNetworkInfo_dns2</source>
        <translation>备用 DNS</translation>
    </message>
    <message id="CameraNetworkInfo_macAddr">
        <source>CameraNetworkInfo_macAddr</source>
        <translation>MAC 地址</translation>
    </message>
    <message id="CameraNetworkInfo_mtu">
        <source>CameraNetworkInfo_mtu</source>
        <translation>MTU</translation>
    </message>
    <message id="CameraTimeInfo_ntpServer">
        <source>CameraTimeInfo_ntpServer</source>
        <translation>时间服务器</translation>
    </message>
    <message id="CameraTimeInfo_ntpServer2">
        <source>CameraTimeInfo_ntpServer2</source>
        <translation>备用时间服务器</translation>
    </message>
    <message id="CameraTimeInfo_timeZone">
        <source>CameraTimeInfo_timeZone</source>
        <translation>时区</translation>
    </message>
    <message id="TvoutInfo_enableTvout">
        <source>TvoutInfo_enableTvout</source>
        <translation>视频输出</translation>
    </message>
    <message id="TvoutInfo_zoom">
        <source>TvoutInfo_zoom</source>
        <translation>缩放</translation>
    </message>
    <message id="TvoutInfo_paletteType">
        <source>TvoutInfo_paletteType</source>
        <translation>调色板</translation>
    </message>
    <message id="TvoutInfo_strechType">
        <source>TvoutInfo_strechType</source>
        <translation>拉伸方式</translation>
    </message>
    <message id="TvoutInfo_gain">
        <source>TvoutInfo_gain</source>
        <translation>增益</translation>
    </message>
    <message id="TvoutInfo_temp2gray">
        <source>TvoutInfo_temp2gray</source>
        <translation>温度灰度</translation>
    </message>
    <message id="TvoutInfo_ddeLevel">
        <source>TvoutInfo_ddeLevel</source>
        <translation>细节增强</translation>
    </message>
    <message id="TvoutInfo_xuiDisplayFlags">
        <source>TvoutInfo_xuiDisplayFlags</source>
        <translation>显示标志</translation>
    </message>
    <message id="TvoutInfo_man_enable">
        <source>TvoutInfo_man_enable</source>
        <translation>手动温度范围</translation>
    </message>
    <message id="TvoutInfo_man_temp0">
        <source>TvoutInfo_man_temp0</source>
        <translation>手动范围下限 (°C)</translation>
    </message>
    <message id="TvoutInfo_man_temp1">
        <source>TvoutInfo_man_temp1</source>
        <translation>手动范围上限 (°C)</translation>
    </message>
    <message id="TvoutInfo_ct_type">
        <source>TvoutInfo_ct_type</source>
        <translation>温度着色</translation>
    </message>
    <message id="TvoutInfo_ct_temp0">
        <source>TvoutInfo_ct_temp0</source>
        <translation>着色温度 1 (°C)</translation>
    </message>
    <message id="TvoutInfo_ct_temp1">
        <source>TvoutInfo_ct_temp1</source>
        <translation>着色温度 2 (°C)</translation>
    </message>
    <message id="TvoutInfo_ct_color0">
        <source>TvoutInfo_ct_color0</source>
        <translation>着色颜色 1</translation>
    </message>
    <message id="TvoutInfo_ct_color1">
        <source>TvoutInfo_ct_color1</source>
        <translation>着色颜色 2</translation>
    </message>
    <message id="TvoutInfo_h264_bitrate">
        <source>TvoutInfo_h264_bitrate</source>
        <translation>H.264 码率</translation>
    </message>
    <message id="TvoutInfo_h264_gopSize">
        <source>TvoutInfo_h264_gopSize</source>
        <translation>H.264 GOP 长度</translation>
    </message>
    <message id="SerialPortInfo_usage">
        <source>SerialPortInfo_usage</source>
        <translation>用途</translation>
    </message>
    <message id="SerialPortInfo_portAddr">
        <source>SerialPortInfo_portAddr</source>
        <translation>端口地址</translation>
    </message>
    <message id="SerialPortInfo_baudRate">
        <source>SerialPortInfo_baudRate</source>
        <translation>波特率</translation>
    </message>
    <message id="SerialPortInfo_dataBits">
        <source>SerialPortInfo_dataBits</source>
        <translation>数据位</translation>
    </message>
    <message id="SerialPortInfo_stopBits">
        <source>SerialPortInfo_stopBits</source>
        <translation>停止位</translation>
    </message>
    <message id="SerialPortInfo_parity">
        <source>SerialPortInfo_parity</source>
        <translation>校验</translation>
    </message>
    <message id="GpioInfo_input0">
        <source>GpioInfo_input0</source>
        <translation>输入 1</translation>
    </message>
    <message id="GpioInfo_input1">
        <source>GpioInfo_input1</source>
        <translation>输入 2</translation>
    </message>
    <message id="GpioInfo_output0">
        <source>GpioInfo_output0</source>
        <translation>输出 1</translation>
    </message>
    <message id="GpioInfo_output1">
        <source>GpioInfo_output1</source>
        <translation>输出 2</translation>
    </message>
    <message id="CameraOSDInfo_loc_enable">
        <source>CameraOSDInfo_loc_enable</source>
        <translation>显示位置</translation>
    </message>
    <message id="CameraOSDInfo_loc_name">
        <source>CameraOSDInfo_loc_name</source>
        <translation>位置文字</translation>
    </message>
    <message id="CameraOSDInfo_loc_x">
        <source>CameraOSDInfo_loc_x</source>
        <translation>位置 X</translation>
    </message>
    <message id="CameraOSDInfo_loc_y">
        <source>CameraOSDInfo_loc_y</source>
        <translation>位置 Y</translation>
    </message>
    <message id="CameraOSDInfo_time_enable">
        <source>CameraOSDInfo_time_enable</source>
        <translation>显示时间</translation>
    </message>
    <message id="CameraOSDInfo_time_x">
        <source>CameraOSDInfo_time_x</source>
        <translation>时间 X</translation>
    </message>
    <message id="CameraOSDInfo_time_y">
        <source>CameraOSDInfo_time_y</source>
        <translation>时间 Y</translation>
    </message>
    <message id="CameraOSDInfo_color">
        <source>CameraOSDInfo_color</source>
        <translation>文字颜色</translation>
    </message>
    <message id="FFCInfo_frames_skipped_after_close">
        <source>FFCInfo_frames_skipped_after_close</source>
        <translation>关闭后跳过帧数</translation>
    </message>
    <message id="FFCInfo_frames_accumlated_when_closed">
        <source>FFCInfo_frames_accumlated_when_closed</source>
        <translation>关闭时累积帧数</translation>
    </message>
    <message id="FFCInfo_frames_skipped_after_open">
        <source>FFCInfo_frames_skipped_after_open</source>
        <translation>打开后跳过帧数</translation>
    </message>
    <message id="FFCInfo_nst_enable">
        <source>FFCInfo_nst_enable</source>
        <translation>NST</translation>
    </message>
    <message id="FFCInfo_time_interval">
        <source>FFCInfo_time_interval</source>
        <translation>时间间隔</translation>
    </message>
    <message id="FFCInfo_temp_interval">
        <source>FFCInfo_temp_interval</source>
        <translation>温漂阈值 (mK)</translation>
    </message>
    <message id="FFCInfo_af_rebound">
        <source>FFCInfo_af_rebound</source>
        <translation>AF 回弹</translation>
    </message>
    <message id="FFCInfo_fpa_shutter">
        <source>FFCInfo_fpa_shutter</source>
        <translation>FPA 快门</translation>
    </message>
    <message id="FFCInfo_time_interval_sec">
        <source>FFCInfo_time_interval_sec</source>
        <translation>间隔 (秒)</translation>
    </message>
    <message id="DestripInfo_type">
        <source>DestripInfo_type</source>
        <translation>类型</translation>
    </message>
    <message id="DestripInfo_s0_radius">
        <source>DestripInfo_s0_radius</source>
        <translation>一级半径</translation>
    </message>
    <message id="DestripInfo_s0_regular">
        <source>DestripInfo_s0_regular</source>
        <translation>一级正则</translation>
    </message>
    <message id="DestripInfo_s1_radius">
        <source>DestripInfo_s1_radius</source>
        <translation>二级半径</translation>
    </message>
    <message id="DestripInfo_s1_regular">
        <source>DestripInfo_s1_regular</source>
        <translation>二级正则</translation>
    </message>
    <message id="DestripInfo_sub_y">
        <source>DestripInfo_sub_y</source>
        <translation>子 Y</translation>
    </message>
    <message id="DestripInfo_sub_t">
        <source>DestripInfo_sub_t</source>
        <translation>子 T</translation>
    </message>
    <message id="DenoiseInfo_type">
        <source>DenoiseInfo_type</source>
        <translation>类型</translation>
    </message>
    <message id="DenoiseInfo_gf_radius">
        <source>DenoiseInfo_gf_radius</source>
        <translation>滤波半径</translation>
    </message>
    <message id="DenoiseInfo_gf_regular">
        <source>DenoiseInfo_gf_regular</source>
        <translation>滤波正则</translation>
    </message>
    <message id="CameraPluginInfo_version">
        <source>CameraPluginInfo_version</source>
        <translation>插件版本</translation>
    </message>
    <message id="CameraPluginInfo_onvif_version">
        <source>CameraPluginInfo_onvif_version</source>
        <translation>ONVIF 版本</translation>
    </message>
    <message id="CameraPluginInfo_gb28181_version">
        <source>CameraPluginInfo_gb28181_version</source>
        <translation>GB/T 28181 版本</translation>
    </message>
    <message id="CameraPluginInfo_modbus_version">
        <source>CameraPluginInfo_modbus_version</source>
        <translation>Modbus 版本</translation>
    </message>
    <message id="CameraPluginInfo_username">
        <source>CameraPluginInfo_username</source>
        <translation>用户名</translation>
    </message>
    <message id="CameraPluginInfo_password">
        <source>CameraPluginInfo_password</source>
        <translation>密码</translation>
    </message>
    <message id="CameraPluginInfo_onvif_enable">
        <source>CameraPluginInfo_onvif_enable</source>
        <translation>ONVIF</translation>
    </message>
    <message id="CameraPluginInfo_gb28181_enable">
        <source>CameraPluginInfo_gb28181_enable</source>
        <translation>GB/T 28181</translation>
    </message>
    <message id="CameraPluginInfo_h5_enable">
        <source>CameraPluginInfo_h5_enable</source>
        <translation>网页 (H5)</translation>
    </message>
    <message id="CameraPluginInfo_modbus_enable">
        <source>CameraPluginInfo_modbus_enable</source>
        <translation>Modbus</translation>
    </message>
    <message id="CameraPluginInfo_svdatavm_enable">
        <source>CameraPluginInfo_svdatavm_enable</source>
        <translation>SV 数据</translation>
    </message>
    <message id="GB28181Info_headVersion">
        <source>GB28181Info_headVersion</source>
        <translation>版本</translation>
    </message>
    <message id="GB28181Info_headEnable">
        <source>GB28181Info_headEnable</source>
        <translation>启用</translation>
    </message>
    <message id="GB28181Info_serverId">
        <source>GB28181Info_serverId</source>
        <translation>服务器 ID</translation>
    </message>
    <message id="GB28181Info_serverIp">
        <source>GB28181Info_serverIp</source>
        <translation>服务器地址</translation>
    </message>
    <message id="GB28181Info_serverPort">
        <source>GB28181Info_serverPort</source>
        <translation>服务器端口</translation>
    </message>
    <message id="GB28181Info_deviceId">
        <source>GB28181Info_deviceId</source>
        <translation>设备 ID</translation>
    </message>
    <message id="GB28181Info_devicePort">
        <source>GB28181Info_devicePort</source>
        <translation>设备端口</translation>
    </message>
    <message id="GB28181Info_devicePortRtp">
        <source>GB28181Info_devicePortRtp</source>
        <translation>设备 RTP 端口</translation>
    </message>
    <message id="GB28181Info_streamId">
        <source>GB28181Info_streamId</source>
        <translation>通道 ID</translation>
    </message>
    <message id="GB28181Info_username">
        <source>GB28181Info_username</source>
        <translation>用户名</translation>
    </message>
    <message id="GB28181Info_password">
        <source>GB28181Info_password</source>
        <translation>密码</translation>
    </message>
    <message id="GB28181Info_keepAliveInterval">
        <source>GB28181Info_keepAliveInterval</source>
        <translation>心跳间隔 (秒)</translation>
    </message>
    <message id="Get">
        <source>Get</source>
        <translation>读取</translation>
    </message>
    <message id="Load">
        <source>Load</source>
        <translation>加载</translation>
    </message>
    <message id="Switch">
        <source>Switch</source>
        <translation>切换量程</translation>
    </message>
    <message id="Clear">
        <source>Clear</source>
        <translation>清空</translation>
    </message>
    <message id="Delete">
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message id="CustRange1">
        <source>CustRange1</source>
        <translation>量程1</translation>
    </message>
    <message id="CustRange2">
        <source>CustRange2</source>
        <translation>量程2</translation>
    </message>
    <message id="Timestamp">
        <source>Timestamp</source>
        <translation>写入时间</translation>
    </message>
    <message id="Note">
        <source>Note</source>
        <translation>备注</translation>
    </message>
    <message id="ItemCount">
        <source>ItemCount</source>
        <translation>点数</translation>
    </message>
    <message id="Number">
        <source>Number</source>
        <translation>序号</translation>
    </message>
    <message id="Blackbody">
        <source>Blackbody</source>
        <translation>黑体温度(°C)</translation>
    </message>
    <message id="MeaTemp">
        <source>MeaTemp</source>
        <translation>测量温度(°C)</translation>
    </message>
    <message id="MeaShell1">
        <source>MeaShell1</source>
        <translation>壳温1测量值</translation>
    </message>
    <message id="MeaShell2">
        <source>MeaShell2</source>
        <translation>壳温2测量值</translation>
    </message>
    <message id="MeaShell3">
        <source>MeaShell3</source>
        <translation>壳温3测量值</translation>
    </message>
    <message id="MeaShell4">
        <source>MeaShell4</source>
        <translation>壳温4测量值</translation>
    </message>
    <message id="MeaDist1">
        <source>MeaDist1</source>
        <translation>距离1测量值</translation>
    </message>
    <message id="MeaDist2">
        <source>MeaDist2</source>
        <translation>距离2测量值</translation>
    </message>
    <message id="MeaDist3">
        <source>MeaDist3</source>
        <translation>距离3测量值</translation>
    </message>
    <message id="MeaDist4">
        <source>MeaDist4</source>
        <translation>距离4测量值</translation>
    </message>
    <message id="MeaDist5">
        <source>MeaDist5</source>
        <translation>距离5测量值</translation>
    </message>
    <message id="DistCount">
        <source>DistCount</source>
        <translation>距离数</translation>
    </message>
    <message id="BbCount">
        <source>BbCount</source>
        <translation>黑体点数</translation>
    </message>
    <message id="Distance">
        <source>Distance</source>
        <translation>距离</translation>
    </message>
    <message id="DistanceTip">
        <source>DistanceTip</source>
        <translation>整数米</translation>
    </message>
    <message id="CaliMode">
        <source>CaliMode</source>
        <translation>模式</translation>
    </message>
    <message id="Len1EnvCount">
        <source>Len1EnvCount</source>
        <translation>壳温数</translation>
    </message>
    <message id="Len1BbCount">
        <source>Len1BbCount</source>
        <translation>每壳温点数</translation>
    </message>
    <message id="Len2BbCount">
        <source>Len2BbCount</source>
        <translation>点数</translation>
    </message>
    <message id="ShellTemp">
        <source>ShellTemp</source>
        <translation>壳温</translation>
    </message>
    <message id="Len1Table">
        <source>Len1Table</source>
        <translation>按壳温的表</translation>
    </message>
    <message id="Len2Table">
        <source>Len2Table</source>
        <translation>第二表</translation>
    </message>
    <message id="TableValid">
        <source>TableValid</source>
        <translation>表格符合相机规则</translation>
    </message>
    <message id="TableInvalid">
        <source>TableInvalid</source>
        <translation>相机不会使用此表</translation>
    </message>
    <message id="DeviceWidth">
        <source>DeviceWidth</source>
        <translation>宽度</translation>
    </message>
    <message id="DeviceHeight">
        <source>DeviceHeight</source>
        <translation>高度</translation>
    </message>
    <message id="PointX">
        <source>PointX</source>
        <translation>X</translation>
    </message>
    <message id="PointY">
        <source>PointY</source>
        <translation>Y</translation>
    </message>
    <message id="PointCount">
        <source>PointCount</source>
        <translation>点数</translation>
    </message>
    <message id="PointOutside">
        <source>PointOutside</source>
        <translation>该点不在探测器上</translation>
    </message>
    <message id="PointDuplicate">
        <source>PointDuplicate</source>
        <translation>该点已在列表中</translation>
    </message>
    <message id="PointListFull">
        <source>PointListFull</source>
        <translation>列表已满(4096点)</translation>
    </message>
    <message id="NoSelection">
        <source>NoSelection</source>
        <translation>请先选择一行</translation>
    </message>
    <message id="BatchProgress">
        <source>BatchProgress</source>
        <translation>第 %1 台，共 %2 台</translation>
    </message>
    <message id="Busy">
        <source>Busy</source>
        <translation>另一个操作正在进行</translation>
    </message>
    <message id="File">
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message id="DeviceTime">
        <source>DeviceTime</source>
        <translation>相机时间</translation>
    </message>
    <message id="Cali1">
        <source>Cali1</source>
        <translation>无微距校正</translation>
    </message>
    <message id="Len1_Cali2">
        <source>Len1_Cali2</source>
        <translation>按壳温校正表</translation>
    </message>
    <message id="Len2_Cali2">
        <source>Len2_Cali2</source>
        <translation>单一校正表</translation>
    </message>
</context>
</TS>
