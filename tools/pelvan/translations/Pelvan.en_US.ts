<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name></name>
    <message id="OK">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="Cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="Close">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="Success">
        <source>Success</source>
        <translation>Success</translation>
    </message>
    <message id="Fail">
        <source>Fail</source>
        <translation>Fail</translation>
    </message>
    <message id="ValueRange">
        <source>ValueRange</source>
        <translation>Range</translation>
    </message>
    <message id="Select">
        <source>Select</source>
        <translation>Select</translation>
    </message>
    <message id="SelectAll">
        <source>SelectAll</source>
        <translation>Select all</translation>
    </message>
    <message id="Row">
        <source>Row</source>
        <translation>Row</translation>
    </message>
    <message id="SelectedRows">
        <source>SelectedRows</source>
        <translation>Selected rows</translation>
    </message>
    <message id="SelectColor">
        <source>SelectColor</source>
        <translation>Select colour</translation>
    </message>
    <message id="zh_CN">
        <source>zh_CN</source>
        <translation>中文 (Chinese)</translation>
    </message>
    <message id="en_US">
        <source>en_US</source>
        <translation>English</translation>
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
        <translation>Histogram equalisation</translation>
    </message>
    <message id="StrechType_LINEAR">
        <source>StrechType_LINEAR</source>
        <translation>Linear</translation>
    </message>
    <message id="ColorTempType_None">
        <source>ColorTempType_None</source>
        <translation>None</translation>
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
    <message id="ColorTempType_ExMid">
        <source>ColorTempType_ExMid</source>
        <translation>Outside thresholds</translation>
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
    <message id="TextPos_BottomLeft">
        <source>TextPos_BottomLeft</source>
        <translation>Bottom left</translation>
    </message>
    <message id="TextPos_BottomRight">
        <source>TextPos_BottomRight</source>
        <translation>Bottom right</translation>
    </message>
    <message id="IRDestripType_None">
        <source>IRDestripType_None</source>
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
    <message id="IRDenoiseType_None">
        <source>IRDenoiseType_None</source>
        <translation>Off</translation>
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
    <message id="MeaTool_Select">
        <source>MeaTool_Select</source>
        <translation>Select</translation>
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
    <message id="MeaTool_Line">
        <source>MeaTool_Line</source>
        <translation>Line</translation>
    </message>
    <message id="MeaTool_LineDesc">
        <source>MeaTool_LineDesc</source>
        <translation>Measures along a straight line</translation>
    </message>
    <message id="MeaTool_Polyline">
        <source>MeaTool_Polyline</source>
        <translation>Polyline</translation>
    </message>
    <message id="MeaTool_PolylineDesc">
        <source>MeaTool_PolylineDesc</source>
        <translation>Measures along connected lines; double-click ends it</translation>
    </message>
    <message id="MeaTool_Ellipse">
        <source>MeaTool_Ellipse</source>
        <translation>Ellipse</translation>
    </message>
    <message id="MeaTool_EllipseDesc">
        <source>MeaTool_EllipseDesc</source>
        <translation>Measures inside an ellipse</translation>
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
    <message id="MeaTool_Rectangle">
        <source>MeaTool_Rectangle</source>
        <translation>Rectangle</translation>
    </message>
    <message id="MeaTool_RectangleDesc">
        <source>MeaTool_RectangleDesc</source>
        <translation>Measures inside a rectangle</translation>
    </message>
    <message id="MeaTool_Square">
        <source>MeaTool_Square</source>
        <translation>Square</translation>
    </message>
    <message id="MeaTool_SquareDesc">
        <source>MeaTool_SquareDesc</source>
        <translation>Measures inside a square</translation>
    </message>
    <message id="MeaTool_Polygon">
        <source>MeaTool_Polygon</source>
        <translation>Polygon</translation>
    </message>
    <message id="MeaTool_PolygonDesc">
        <source>MeaTool_PolygonDesc</source>
        <translation>Measures inside a polygon; double-click closes it</translation>
    </message>
    <message id="MeaTool_EditPoint">
        <source>MeaTool_EditPoint</source>
        <translation>Edit points</translation>
    </message>
    <message id="MeaTool_EditPointDesc">
        <source>MeaTool_EditPointDesc</source>
        <translation>Adds or removes corner points of a shape</translation>
    </message>
    <message id="MeaTool_Hide">
        <source>MeaTool_Hide</source>
        <translation>Hide</translation>
    </message>
    <message id="MeaTool_HideDesc">
        <source>MeaTool_HideDesc</source>
        <translation>Hides or shows all measurement objects</translation>
    </message>
    <message id="Manual">
        <source>Manual</source>
        <translation>User manual</translation>
    </message>
    <message id="ManualMissing">
        <source>ManualMissing</source>
        <translation>The user manual is not installed</translation>
    </message>
    <message id="AppConfig">
        <source>AppConfig</source>
        <translation>Settings</translation>
    </message>
    <message id="Save">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="LanguageNextStart">
        <source>LanguageNextStart</source>
        <translation>Saved. The language changes at the next start.</translation>
    </message>
    <message id="SelectFolder">
        <source>SelectFolder</source>
        <translation>Select folder</translation>
    </message>
    <message id="Language">
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message id="SaveDir">
        <source>SaveDir</source>
        <translation>Save folder</translation>
    </message>
    <message id="TransType">
        <source>TransType</source>
        <translation>Transport</translation>
    </message>
    <message id="ChartUpdateInterval">
        <source>ChartUpdateInterval</source>
        <translation>Chart interval (s)</translation>
    </message>
    <message id="ChartUpdateIntervalTip">
        <source>ChartUpdateIntervalTip</source>
        <translation>Seconds between two chart samples</translation>
    </message>
    <message id="ChartFifoSize">
        <source>ChartFifoSize</source>
        <translation>Chart length</translation>
    </message>
    <message id="ChartFifoSizeTip">
        <source>ChartFifoSizeTip</source>
        <translation>Samples kept per chart line</translation>
    </message>
    <message id="Preview">
        <source>Preview</source>
        <translation>Preview</translation>
    </message>
    <message id="Config">
        <source>Config</source>
        <translation>Configure</translation>
    </message>
    <message id="DeviceConfig">
        <source>DeviceConfig</source>
        <translation>Device settings</translation>
    </message>
    <message id="DeviceCust">
        <source>DeviceCust</source>
        <translation>Custom table</translation>
    </message>
    <message id="DeviceCali">
        <source>DeviceCali</source>
        <translation>Calibration</translation>
    </message>
    <message id="DeviceWeiJu">
        <source>DeviceWeiJu</source>
        <translation>Window transmission</translation>
    </message>
    <message id="DeviceFixDist">
        <source>DeviceFixDist</source>
        <translation>Distance correction</translation>
    </message>
    <message id="DeviceList">
        <source>DeviceList</source>
        <translation>Devices</translation>
    </message>
    <message id="Search">
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message id="Add">
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message id="InvalidIp">
        <source>InvalidIp</source>
        <translation>Invalid IP address</translation>
    </message>
    <message id="Play">
        <source>Play</source>
        <translation>Play</translation>
    </message>
    <message id="Stop">
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message id="Snap">
        <source>Snap</source>
        <translation>Snapshot</translation>
    </message>
    <message id="RecordBegin">
        <source>RecordBegin</source>
        <translation>Start recording</translation>
    </message>
    <message id="RecordEnd">
        <source>RecordEnd</source>
        <translation>Stop recording</translation>
    </message>
    <message id="FFC">
        <source>FFC</source>
        <translation>FFC</translation>
    </message>
    <message id="Chart">
        <source>Chart</source>
        <translation>Chart</translation>
    </message>
    <message id="FPS">
        <source>FPS</source>
        <translation>FPS</translation>
    </message>
    <message id="Shell">
        <source>Shell</source>
        <translation>Shell</translation>
    </message>
    <message id="GPI">
        <source>GPI</source>
        <translation>GPI</translation>
    </message>
    <message id="Max">
        <source>Max</source>
        <translation>Max</translation>
    </message>
    <message id="Avg">
        <source>Avg</source>
        <translation>Avg</translation>
    </message>
    <message id="Min">
        <source>Min</source>
        <translation>Min</translation>
    </message>
    <message id="ImageConfig">
        <source>ImageConfig</source>
        <translation>Image</translation>
    </message>
    <message id="MeaConfig">
        <source>MeaConfig</source>
        <translation>Measurement</translation>
    </message>
    <message id="IRImage_PaletteType">
        <source>IRImage_PaletteType</source>
        <translation>Palette</translation>
    </message>
    <message id="IRImage_StrechType">
        <source>IRImage_StrechType</source>
        <translation>Stretch</translation>
    </message>
    <message id="IRImage_Gain">
        <source>IRImage_Gain</source>
        <translation>Gain</translation>
    </message>
    <message id="IRImage_Temp2Gray">
        <source>IRImage_Temp2Gray</source>
        <translation>Temperature span</translation>
    </message>
    <message id="IRImage_DDELevel">
        <source>IRImage_DDELevel</source>
        <translation>Detail enhancement</translation>
    </message>
    <message id="IRImage_MTEnable">
        <source>IRImage_MTEnable</source>
        <translation>Manual range</translation>
    </message>
    <message id="IRImage_MTTemp0">
        <source>IRImage_MTTemp0</source>
        <translation>Range low</translation>
    </message>
    <message id="IRImage_MTTemp1">
        <source>IRImage_MTTemp1</source>
        <translation>Range high</translation>
    </message>
    <message id="IRImage_CTType">
        <source>IRImage_CTType</source>
        <translation>Colour alarm</translation>
    </message>
    <message id="IRImage_CTTemp0">
        <source>IRImage_CTTemp0</source>
        <translation>Alarm low</translation>
    </message>
    <message id="IRImage_CTTemp1">
        <source>IRImage_CTTemp1</source>
        <translation>Alarm high</translation>
    </message>
    <message id="IRImage_CTColor0">
        <source>IRImage_CTColor0</source>
        <translation>Alarm colour 1</translation>
    </message>
    <message id="IRImage_CTColor1">
        <source>IRImage_CTColor1</source>
        <translation>Alarm colour 2</translation>
    </message>
    <message id="MeaName">
        <source>MeaName</source>
        <translation>Name</translation>
    </message>
    <message id="MeaColor">
        <source>MeaColor</source>
        <translation>Colour</translation>
    </message>
    <message id="TextPos">
        <source>TextPos</source>
        <translation>Label position</translation>
    </message>
    <message id="TrackHigh">
        <source>TrackHigh</source>
        <translation>Track maximum</translation>
    </message>
    <message id="TrackLow">
        <source>TrackLow</source>
        <translation>Track minimum</translation>
    </message>
    <message id="FixEnable">
        <source>FixEnable</source>
        <translation>Correction</translation>
    </message>
    <message id="FixEmi">
        <source>FixEmi</source>
        <translation>Emissivity</translation>
    </message>
    <message id="FixReflectTemp">
        <source>FixReflectTemp</source>
        <translation>Reflected temperature</translation>
    </message>
    <message id="More">
        <source>More</source>
        <translation>More</translation>
    </message>
    <message id="DeviceChart">
        <source>DeviceChart</source>
        <translation>Temperature chart</translation>
    </message>
    <message id="DeviceId">
        <source>DeviceId</source>
        <translation>Device ID</translation>
    </message>
    <message id="DeviceIp">
        <source>DeviceIp</source>
        <translation>IP address</translation>
    </message>
    <message id="SoftwareId">
        <source>SoftwareId</source>
        <translation>Software</translation>
    </message>
    <message id="FPAId">
        <source>FPAId</source>
        <translation>FPA</translation>
    </message>
    <message id="Message">
        <source>Message</source>
        <translation>Message</translation>
    </message>
    <message id="Firmware">
        <source>Firmware</source>
        <translation>Firmware</translation>
    </message>
    <message id="Network">
        <source>Network</source>
        <translation>Network</translation>
    </message>
    <message id="NoDevice">
        <source>NoDevice</source>
        <translation>No device selected</translation>
    </message>
    <message id="Upload">
        <source>Upload</source>
        <translation>Upload</translation>
    </message>
    <message id="UploadMulti">
        <source>UploadMulti</source>
        <translation>Upload to selected</translation>
    </message>
    <message id="NoFile">
        <source>NoFile</source>
        <translation>No file chosen</translation>
    </message>
    <message id="InvalidFile">
        <source>InvalidFile</source>
        <translation>Wrong file type</translation>
    </message>
    <message id="Download">
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message id="RestoreFactory">
        <source>RestoreFactory</source>
        <translation>Restore factory settings</translation>
    </message>
    <message id="RestartDevice">
        <source>RestartDevice</source>
        <translation>Restart device</translation>
    </message>
    <message id="DeviceCom">
        <source>DeviceCom</source>
        <translation>Serial port</translation>
    </message>
    <message id="Set">
        <source>Set</source>
        <translation>Set</translation>
    </message>
    <message id="GetTime">
        <source>GetTime</source>
        <translation>Read time</translation>
    </message>
    <message id="SetTime">
        <source>SetTime</source>
        <translation>Set time</translation>
    </message>
    <message id="SetTimeMulti">
        <source>SetTimeMulti</source>
        <translation>Set time on selected</translation>
    </message>
    <message id="Light">
        <source>Light</source>
        <translation>Light</translation>
    </message>
    <message id="LedYellow">
        <source>LedYellow</source>
        <translation>Yellow LED</translation>
    </message>
    <message id="LedBlue">
        <source>LedBlue</source>
        <translation>Blue LED</translation>
    </message>
    <message id="Alarm">
        <source>Alarm</source>
        <translation>Alarm</translation>
    </message>
    <message id="Buzz">
        <source>Buzz</source>
        <translation>Buzzer</translation>
    </message>
    <message id="SetGpio">
        <source>SetGpio</source>
        <translation>Set outputs</translation>
    </message>
    <message id="OpenFile">
        <source>OpenFile</source>
        <translation>Open file</translation>
    </message>
    <message id="SaveFile">
        <source>SaveFile</source>
        <translation>Save file</translation>
    </message>
    <message id="Edit">
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message id="LiveImage">
        <source>LiveImage</source>
        <translation>Live image</translation>
    </message>
    <message id="SkippedFrames">
        <source>SkippedFrames</source>
        <translation>Skipped frames</translation>
    </message>
    <message id="GearLevel">
        <source>GearLevel</source>
        <translation>Gear</translation>
    </message>
</context>
</TS>
