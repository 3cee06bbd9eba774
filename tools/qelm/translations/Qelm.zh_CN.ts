<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name></name>
    <message id="Avg">
        <source>Avg</source>
        <translation>平均</translation>
    </message>
    <message id="Cancel">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="Close">
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message id="ColorTempType_ExMid">
        <source>ColorTempType_ExMid</source>
        <translation>区间外报警</translation>
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
    <message id="ColorTempType_None">
        <source>ColorTempType_None</source>
        <translation>无</translation>
    </message>
    <message id="FPS">
        <source>FPS</source>
        <translation>帧率</translation>
    </message>
    <message id="Fail">
        <source>Fail</source>
        <translation>失败</translation>
    </message>
    <message id="FileNameIR">
        <source>FileNameIR</source>
        <translation>红外文件</translation>
    </message>
    <message id="FileNameVIS">
        <source>FileNameVIS</source>
        <translation>可见光文件</translation>
    </message>
    <message id="FrameInfoIR">
        <source>FrameInfoIR</source>
        <translation>红外帧</translation>
    </message>
    <message id="FrameInfoVIS">
        <source>FrameInfoVIS</source>
        <translation>可见光帧</translation>
    </message>
    <message id="FrameSliderIR">
        <source>FrameSliderIR</source>
        <translation>红外帧位置</translation>
    </message>
    <message id="FrameSliderVIS">
        <source>FrameSliderVIS</source>
        <translation>可见光帧位置</translation>
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
    <message id="IRDenoiseType_None">
        <source>IRDenoiseType_None</source>
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
    <message id="IRDestripType_None">
        <source>IRDestripType_None</source>
        <translation>关闭</translation>
    </message>
    <message id="IRIP">
        <source>IRIP</source>
        <translation>红外 IP</translation>
    </message>
    <message id="Language">
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message id="LanguageNextStart">
        <source>LanguageNextStart</source>
        <translation>已保存，语言将在下次启动时生效。</translation>
    </message>
    <message id="LoadIR">
        <source>LoadIR</source>
        <translation>加载红外</translation>
    </message>
    <message id="LoadLast">
        <source>LoadLast</source>
        <translation>加载最近录像</translation>
    </message>
    <message id="LoadVIS">
        <source>LoadVIS</source>
        <translation>加载可见光</translation>
    </message>
    <message id="Max">
        <source>Max</source>
        <translation>最高</translation>
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
    <message id="MeaTool_EditPoint">
        <source>MeaTool_EditPoint</source>
        <translation>编辑顶点</translation>
    </message>
    <message id="MeaTool_EditPointDesc">
        <source>MeaTool_EditPointDesc</source>
        <translation>添加或删除图形的顶点</translation>
    </message>
    <message id="MeaTool_Ellipse">
        <source>MeaTool_Ellipse</source>
        <translation>椭圆</translation>
    </message>
    <message id="MeaTool_EllipseDesc">
        <source>MeaTool_EllipseDesc</source>
        <translation>测量椭圆内区域</translation>
    </message>
    <message id="MeaTool_Hide">
        <source>MeaTool_Hide</source>
        <translation>隐藏</translation>
    </message>
    <message id="MeaTool_HideDesc">
        <source>MeaTool_HideDesc</source>
        <translation>隐藏或显示所有测温对象</translation>
    </message>
    <message id="MeaTool_Line">
        <source>MeaTool_Line</source>
        <translation>直线</translation>
    </message>
    <message id="MeaTool_LineDesc">
        <source>MeaTool_LineDesc</source>
        <translation>沿直线测量</translation>
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
    <message id="MeaTool_Polygon">
        <source>MeaTool_Polygon</source>
        <translation>多边形</translation>
    </message>
    <message id="MeaTool_PolygonDesc">
        <source>MeaTool_PolygonDesc</source>
        <translation>测量多边形内区域，双击闭合</translation>
    </message>
    <message id="MeaTool_Polyline">
        <source>MeaTool_Polyline</source>
        <translation>折线</translation>
    </message>
    <message id="MeaTool_PolylineDesc">
        <source>MeaTool_PolylineDesc</source>
        <translation>沿折线测量，双击结束</translation>
    </message>
    <message id="MeaTool_Rectangle">
        <source>MeaTool_Rectangle</source>
        <translation>矩形</translation>
    </message>
    <message id="MeaTool_RectangleDesc">
        <source>MeaTool_RectangleDesc</source>
        <translation>测量矩形内区域</translation>
    </message>
    <message id="MeaTool_Select">
        <source>MeaTool_Select</source>
        <translation>选择</translation>
    </message>
    <message id="MeaTool_Square">
        <source>MeaTool_Square</source>
        <translation>正方形</translation>
    </message>
    <message id="MeaTool_SquareDesc">
        <source>MeaTool_SquareDesc</source>
        <translation>测量正方形内区域</translation>
    </message>
    <message id="Min">
        <source>Min</source>
        <translation>最低</translation>
    </message>
    <message id="NextFrame">
        <source>NextFrame</source>
        <translation>下一帧</translation>
    </message>
    <message id="NextFrameIR">
        <source>NextFrameIR</source>
        <translation>下一帧红外</translation>
    </message>
    <message id="NextFrameVIS">
        <source>NextFrameVIS</source>
        <translation>下一帧可见光</translation>
    </message>
    <message id="NoFile">
        <source>NoFile</source>
        <translation>未加载文件</translation>
    </message>
    <message id="NoRecording">
        <source>NoRecording</source>
        <translation>尚无录像</translation>
    </message>
    <message id="OK">
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message id="Offset">
        <source>Offset</source>
        <translation>时间差</translation>
    </message>
    <message id="PageFiles">
        <source>PageFiles</source>
        <translation>文件</translation>
    </message>
    <message id="PagePreview">
        <source>PagePreview</source>
        <translation>预览</translation>
    </message>
    <message id="PageSettings">
        <source>PageSettings</source>
        <translation>设置</translation>
    </message>
    <message id="PreviousFrame">
        <source>PreviousFrame</source>
        <translation>上一帧</translation>
    </message>
    <message id="PreviousFrameIR">
        <source>PreviousFrameIR</source>
        <translation>上一帧红外</translation>
    </message>
    <message id="PreviousFrameVIS">
        <source>PreviousFrameVIS</source>
        <translation>上一帧可见光</translation>
    </message>
    <message id="RecordStarting">
        <source>RecordStarting</source>
        <translation>正在开始录像…</translation>
    </message>
    <message id="Recording">
        <source>Recording</source>
        <translation>正在录像</translation>
    </message>
    <message id="Row">
        <source>Row</source>
        <translation>行</translation>
    </message>
    <message id="Save">
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message id="SaveDir">
        <source>SaveDir</source>
        <translation>保存目录</translation>
    </message>
    <message id="Select">
        <source>Select</source>
        <translation>选择</translation>
    </message>
    <message id="SelectAll">
        <source>SelectAll</source>
        <translation>全选</translation>
    </message>
    <message id="SelectColor">
        <source>SelectColor</source>
        <translation>选择颜色</translation>
    </message>
    <message id="SelectFolder">
        <source>SelectFolder</source>
        <translation>选择文件夹</translation>
    </message>
    <message id="SelectedRows">
        <source>SelectedRows</source>
        <translation>已选行数</translation>
    </message>
    <message id="Shell">
        <source>Shell</source>
        <translation>外壳</translation>
    </message>
    <message id="StartIR">
        <source>StartIR</source>
        <translation>启动红外</translation>
    </message>
    <message id="StartRecord">
        <source>StartRecord</source>
        <translation>开始录像</translation>
    </message>
    <message id="StartVIS">
        <source>StartVIS</source>
        <translation>启动可见光</translation>
    </message>
    <message id="StopIR">
        <source>StopIR</source>
        <translation>停止红外</translation>
    </message>
    <message id="StopRecord">
        <source>StopRecord</source>
        <translation>停止录像</translation>
    </message>
    <message id="StopVIS">
        <source>StopVIS</source>
        <translation>停止可见光</translation>
    </message>
    <message id="StrechType_LINEAR">
        <source>StrechType_LINEAR</source>
        <translation>线性</translation>
    </message>
    <message id="StrechType_PHE">
        <source>StrechType_PHE</source>
        <translation>直方图均衡</translation>
    </message>
    <message id="Success">
        <source>Success</source>
        <translation>成功</translation>
    </message>
    <message id="Sync">
        <source>Sync</source>
        <translation>同步</translation>
    </message>
    <message id="SyncNTP">
        <source>SyncNTP</source>
        <translation>同步时间</translation>
    </message>
    <message id="SyncTip">
        <source>SyncTip</source>
        <translation>显示与红外帧时间最接近的可见光帧</translation>
    </message>
    <message id="TCP">
        <source>TCP</source>
        <translation>TCP</translation>
    </message>
    <message id="TextPos_BottomLeft">
        <source>TextPos_BottomLeft</source>
        <translation>左下</translation>
    </message>
    <message id="TextPos_BottomRight">
        <source>TextPos_BottomRight</source>
        <translation>右下</translation>
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
    <message id="ThermalImage">
        <source>ThermalImage</source>
        <translation>红外图像</translation>
    </message>
    <message id="ThermalReplay">
        <source>ThermalReplay</source>
        <translation>红外回放</translation>
    </message>
    <message id="UDP">
        <source>UDP</source>
        <translation>UDP</translation>
    </message>
    <message id="VISIP">
        <source>VISIP</source>
        <translation>可见光 IP</translation>
    </message>
    <message id="ValueRange">
        <source>ValueRange</source>
        <translation>范围</translation>
    </message>
    <message id="VisibleImage">
        <source>VisibleImage</source>
        <translation>可见光图像</translation>
    </message>
    <message id="VisibleReplay">
        <source>VisibleReplay</source>
        <translation>可见光回放</translation>
    </message>
    <message id="en_US">
        <source>en_US</source>
        <translation>English (英文)</translation>
    </message>
    <message id="zh_CN">
        <source>zh_CN</source>
        <translation>中文</translation>
    </message>
</context>
</TS>
