<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name></name>
    <message id="Avg">
        <source>Avg</source>
        <translation>Avg</translation>
    </message>
    <message id="Cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="Close">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="ColorTempType_ExMid">
        <source>ColorTempType_ExMid</source>
        <translation>Outside thresholds</translation>
    </message>
    <message id="ColorTempType_High">
        <source>ColorTempType_High</source>
        <translation>Above threshold</translation>
    </message>
    <message id="ColorTempType_Low">
        <source>ColorTempType_Low</source>
        <translation>Below threshold</translation>
    </message>
    <message id="ColorTempType_Mid">
        <source>ColorTempType_Mid</source>
        <translation>Between thresholds</translation>
    </message>
    <message id="ColorTempType_None">
        <source>ColorTempType_None</source>
        <translation>None</translation>
    </message>
    <message id="FPS">
        <source>FPS</source>
        <translation>FPS</translation>
    </message>
    <message id="Fail">
        <source>Fail</source>
        <translation>Fail</translation>
    </message>
    <message id="FileNameIR">
        <source>FileNameIR</source>
        <translation>Thermal file</translation>
    </message>
    <message id="FileNameVIS">
        <source>FileNameVIS</source>
        <translation>Visible file</translation>
    </message>
    <message id="FrameInfoIR">
        <source>FrameInfoIR</source>
        <translation>Thermal frame</translation>
    </message>
    <message id="FrameInfoVIS">
        <source>FrameInfoVIS</source>
        <translation>Visible frame</translation>
    </message>
    <message id="FrameSliderIR">
        <source>FrameSliderIR</source>
        <translation>Thermal frames</translation>
    </message>
    <message id="FrameSliderVIS">
        <source>FrameSliderVIS</source>
        <translation>Visible frames</translation>
    </message>
    <message id="IRDenoiseType_GF">
        <source>IRDenoiseType_GF</source>
        <translation>Guided filter</translation>
    </message>
    <message id="IRDenoiseType_GFSub2">
        <source>IRDenoiseType_GFSub2</source>
        <translation>Guided filter, half size</translation>
    </message>
    <message id="IRDenoiseType_GFSub4">
        <source>IRDenoiseType_GFSub4</source>
        <translation>Guided filter, quarter size</translation>
    </message>
    <message id="IRDenoiseType_None">
        <source>IRDenoiseType_None</source>
        <translation>Off</translation>
    </message>
    <message id="IRDestripType_ColV1">
        <source>IRDestripType_ColV1</source>
        <translation>Column V1</translation>
    </message>
    <message id="IRDestripType_ColV1opt">
        <source>IRDestripType_ColV1opt</source>
        <translation>Column V1 optimised</translation>
    </message>
    <message id="IRDestripType_ColV2">
        <source>IRDestripType_ColV2</source>
        <translation>Column V2</translation>
    </message>
    <message id="IRDestripType_None">
        <source>IRDestripType_None</source>
        <translation>Off</translation>
    </message>
    <message id="IRIP">
        <source>IRIP</source>
        <translation>IR IP</translation>
    </message>
    <message id="Language">
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message id="LanguageNextStart">
        <source>LanguageNextStart</source>
        <translation>Saved. The language changes at the next start.</translation>
    </message>
    <message id="LoadIR">
        <source>LoadIR</source>
        <translation>Load IR</translation>
    </message>
    <message id="LoadLast">
        <source>LoadLast</source>
        <translation>Load Last Recording</translation>
    </message>
    <message id="LoadVIS">
        <source>LoadVIS</source>
        <translation>Load VIS</translation>
    </message>
    <message id="Max">
        <source>Max</source>
        <translation>Max</translation>
    </message>
    <message id="MeaTool_Circle">
        <source>MeaTool_Circle</source>
        <translation>Circle</translation>
    </message>
    <message id="MeaTool_CircleDesc">
        <source>MeaTool_CircleDesc</source>
        <translation>Measures inside a circle</translation>
    </message>
    <message id="MeaTool_Custom">
        <source>MeaTool_Custom</source>
        <translation>Custom</translation>
    </message>
    <message id="MeaTool_CustomDesc">
        <source>MeaTool_CustomDesc</source>
        <translation>Measures inside a custom shape</translation>
    </message>
    <message id="MeaTool_EditPoint">
        <source>MeaTool_EditPoint</source>
        <translation>Edit points</translation>
    </message>
    <message id="MeaTool_EditPointDesc">
        <source>MeaTool_EditPointDesc</source>
        <translation>Adds or removes corner points of a shape</translation>
    </message>
    <message id="MeaTool_Ellipse">
        <source>MeaTool_Ellipse</source>
        <translation>Ellipse</translation>
    </message>
    <message id="MeaTool_EllipseDesc">
        <source>MeaTool_EllipseDesc</source>
        <translation>Measures inside an ellipse</translation>
    </message>
    <message id="MeaTool_Hide">
        <source>MeaTool_Hide</source>
        <translation>Hide</translation>
    </message>
    <message id="MeaTool_HideDesc">
        <source>MeaTool_HideDesc</source>
        <translation>Hides or shows all measurement objects</translation>
    </message>
    <message id="MeaTool_Line">
        <source>MeaTool_Line</source>
        <translation>Line</translation>
    </message>
    <message id="MeaTool_LineDesc">
        <source>MeaTool_LineDesc</source>
        <translation>Measures along a straight line</translation>
    </message>
    <message id="MeaTool_Point1x1">
        <source>MeaTool_Point1x1</source>
        <translation>Point</translation>
    </message>
    <message id="MeaTool_Point1x1Desc">
        <source>MeaTool_Point1x1Desc</source>
        <translation>Measures one pixel</translation>
    </message>
    <message id="MeaTool_Point3x3">
        <source>MeaTool_Point3x3</source>
        <translation>Point 3×3</translation>
    </message>
    <message id="MeaTool_Point3x3Desc">
        <source>MeaTool_Point3x3Desc</source>
        <translation>Measures the 3×3 pixels around a point</translation>
    </message>
    <message id="MeaTool_PointCross">
        <source>MeaTool_PointCross</source>
        <translation>Cross point</translation>
    </message>
    <message id="MeaTool_PointCrossDesc">
        <source>MeaTool_PointCrossDesc</source>
        <translation>Measures a point and its four neighbours</translation>
    </message>
    <message id="MeaTool_Polygon">
        <source>MeaTool_Polygon</source>
        <translation>Polygon</translation>
    </message>
    <message id="MeaTool_PolygonDesc">
        <source>MeaTool_PolygonDesc</source>
        <translation>Measures inside a polygon; double-click closes it</translation>
    </message>
    <message id="MeaTool_Polyline">
        <source>MeaTool_Polyline</source>
        <translation>Polyline</translation>
    </message>
    <message id="MeaTool_PolylineDesc">
        <source>MeaTool_PolylineDesc</source>
        <translation>Measures along connected lines; double-click ends it</translation>
    </message>
    <message id="MeaTool_Rectangle">
        <source>MeaTool_Rectangle</source>
        <translation>Rectangle</translation>
    </message>
    <message id="MeaTool_RectangleDesc">
        <source>MeaTool_RectangleDesc</source>
        <translation>Measures inside a rectangle</translation>
    </message>
    <message id="MeaTool_Select">
        <source>MeaTool_Select</source>
        <translation>Select</translation>
    </message>
    <message id="MeaTool_Square">
        <source>MeaTool_Square</source>
        <translation>Square</translation>
    </message>
    <message id="MeaTool_SquareDesc">
        <source>MeaTool_SquareDesc</source>
        <translation>Measures inside a square</translation>
    </message>
    <message id="Min">
        <source>Min</source>
        <translation>Min</translation>
    </message>
    <message id="NextFrame">
        <source>NextFrame</source>
        <translation>Next Frame</translation>
    </message>
    <message id="NextFrameIR">
        <source>NextFrameIR</source>
        <translation>Next thermal frame</translation>
    </message>
    <message id="NextFrameVIS">
        <source>NextFrameVIS</source>
        <translation>Next visible frame</translation>
    </message>
    <message id="NoFile">
        <source>NoFile</source>
        <translation>No file loaded</translation>
    </message>
    <message id="NoRecording">
        <source>NoRecording</source>
        <translation>No recording yet</translation>
    </message>
    <message id="OK">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="Offset">
        <source>Offset</source>
        <translation>Offset</translation>
    </message>
    <message id="PageFiles">
        <source>PageFiles</source>
        <translation>Files</translation>
    </message>
    <message id="PagePreview">
        <source>PagePreview</source>
        <translation>Preview</translation>
    </message>
    <message id="PageSettings">
        <source>PageSettings</source>
        <translation>Settings</translation>
    </message>
    <message id="PreviousFrame">
        <source>PreviousFrame</source>
        <translation>Previous Frame</translation>
    </message>
    <message id="PreviousFrameIR">
        <source>PreviousFrameIR</source>
        <translation>Previous thermal frame</translation>
    </message>
    <message id="PreviousFrameVIS">
        <source>PreviousFrameVIS</source>
        <translation>Previous visible frame</translation>
    </message>
    <message id="RecordStarting">
        <source>RecordStarting</source>
        <translation>Starting recording…</translation>
    </message>
    <message id="Recording">
        <source>Recording</source>
        <translation>Recording</translation>
    </message>
    <message id="Row">
        <source>Row</source>
        <translation>Row</translation>
    </message>
    <message id="Save">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="SaveDir">
        <source>SaveDir</source>
        <translation>Save Dir</translation>
    </message>
    <message id="Select">
        <source>Select</source>
        <translation>Select</translation>
    </message>
    <message id="SelectAll">
        <source>SelectAll</source>
        <translation>Select all</translation>
    </message>
    <message id="SelectColor">
        <source>SelectColor</source>
        <translation>Select colour</translation>
    </message>
    <message id="SelectFolder">
        <source>SelectFolder</source>
        <translation>Select folder</translation>
    </message>
    <message id="SelectedRows">
        <source>SelectedRows</source>
        <translation>Selected rows</translation>
    </message>
    <message id="Shell">
        <source>Shell</source>
        <translation>Shell</translation>
    </message>
    <message id="StartIR">
        <source>StartIR</source>
        <translation>Start IR</translation>
    </message>
    <message id="StartRecord">
        <source>StartRecord</source>
        <translation>Start Record</translation>
    </message>
    <message id="StartVIS">
        <source>StartVIS</source>
        <translation>Start VIS</translation>
    </message>
    <message id="StopIR">
        <source>StopIR</source>
        <translation>Stop IR</translation>
    </message>
    <message id="StopRecord">
        <source>StopRecord</source>
        <translation>Stop Record</translation>
    </message>
    <message id="StopVIS">
        <source>StopVIS</source>
        <translation>Stop VIS</translation>
    </message>
    <message id="StrechType_LINEAR">
        <source>StrechType_LINEAR</source>
        <translation>Linear</translation>
    </message>
    <message id="StrechType_PHE">
        <source>StrechType_PHE</source>
        <translation>Histogram equalisation</translation>
    </message>
    <message id="Success">
        <source>Success</source>
        <translation>Success</translation>
    </message>
    <message id="Sync">
        <source>Sync</source>
        <translation>Sync</translation>
    </message>
    <message id="SyncNTP">
        <source>SyncNTP</source>
        <translation>Sync NTP</translation>
    </message>
    <message id="SyncTip">
        <source>SyncTip</source>
        <translation>Show the visible frame nearest in time to the thermal frame</translation>
    </message>
    <message id="TCP">
        <source>TCP</source>
        <translation>TCP</translation>
    </message>
    <message id="TextPos_BottomLeft">
        <source>TextPos_BottomLeft</source>
        <translation>Bottom left</translation>
    </message>
    <message id="TextPos_BottomRight">
        <source>TextPos_BottomRight</source>
        <translation>Bottom right</translation>
    </message>
    <message id="TextPos_None">
        <source>TextPos_None</source>
        <translation>Hidden</translation>
    </message>
    <message id="TextPos_TopLeft">
        <source>TextPos_TopLeft</source>
        <translation>Top left</translation>
    </message>
    <message id="TextPos_TopRight">
        <source>TextPos_TopRight</source>
        <translation>Top right</translation>
    </message>
    <message id="ThermalImage">
        <source>ThermalImage</source>
        <translation>Thermal image</translation>
    </message>
    <message id="ThermalReplay">
        <source>ThermalReplay</source>
        <translation>Thermal replay</translation>
    </message>
    <message id="UDP">
        <source>UDP</source>
        <translation>UDP</translation>
    </message>
    <message id="VISIP">
        <source>VISIP</source>
        <translation>VIS IP</translation>
    </message>
    <message id="ValueRange">
        <source>ValueRange</source>
        <translation>Range</translation>
    </message>
    <message id="VisibleImage">
        <source>VisibleImage</source>
        <translation>Visible image</translation>
    </message>
    <message id="VisibleReplay">
        <source>VisibleReplay</source>
        <translation>Visible replay</translation>
    </message>
    <message id="en_US">
        <source>en_US</source>
        <translation>English</translation>
    </message>
    <message id="zh_CN">
        <source>zh_CN</source>
        <translation>中文 (Chinese)</translation>
    </message>
</context>
</TS>
