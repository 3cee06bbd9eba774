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
        <translation>Close-range lens</translation>
    </message>
    <message id="DeviceFixDist">
        <source>DeviceFixDist</source>
        <translation>Fix-distance table</translation>
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
        <translation>Bad pixels</translation>
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
    <message id="System">
        <source>System</source>
        <translation>System</translation>
    </message>
    <message id="Interface">
        <source>Interface</source>
        <translation>Interface</translation>
    </message>
    <message id="Advance">
        <source>Advance</source>
        <translation>Advanced</translation>
    </message>
    <message id="Plugin">
        <source>Plugin</source>
        <translation>Plug-ins</translation>
    </message>
    <message id="Test">
        <source>Test</source>
        <translation>Test</translation>
    </message>
    <message id="CameraBasicInfo">
        <source>CameraBasicInfo</source>
        <translation>Basic information</translation>
    </message>
    <message id="FixInfo">
        <source>FixInfo</source>
        <translation>Temperature correction</translation>
    </message>
    <message id="CameraNetworkInfo">
        <source>CameraNetworkInfo</source>
        <translation>Network settings</translation>
    </message>
    <message id="CameraTimeInfo">
        <source>CameraTimeInfo</source>
        <translation>Time settings</translation>
    </message>
    <message id="TvoutInfo">
        <source>TvoutInfo</source>
        <translation>Video output</translation>
    </message>
    <message id="SerialPortInfo">
        <source>SerialPortInfo</source>
        <translation>Serial port</translation>
    </message>
    <message id="GpioInfo">
        <source>GpioInfo</source>
        <translation>GPIO</translation>
    </message>
    <message id="CameraOSDInfo">
        <source>CameraOSDInfo</source>
        <translation>On-screen display</translation>
    </message>
    <message id="FFCInfo">
        <source>FFCInfo</source>
        <translation>Shutter correction</translation>
    </message>
    <message id="DestripInfo">
        <source>DestripInfo</source>
        <translation>Stripe filter</translation>
    </message>
    <message id="DenoiseInfo">
        <source>DenoiseInfo</source>
        <translation>Noise filter</translation>
    </message>
    <message id="CameraPluginInfo">
        <source>CameraPluginInfo</source>
        <translation>Plug-in settings</translation>
    </message>
    <message id="GB28181Info">
        <source>GB28181Info</source>
        <translation>GB/T 28181 settings</translation>
    </message>
    <message id="TestInfo">
        <source>TestInfo</source>
        <translation>Output test</translation>
    </message>
    <message id="Apply">
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message id="ApplyAndClose">
        <source>ApplyAndClose</source>
        <translation>Apply and close</translation>
    </message>
    <message id="InvalidInput">
        <source>InvalidInput</source>
        <translation>Some entries are not valid</translation>
    </message>
    <message id="ShowPassword">
        <source>ShowPassword</source>
        <translation>Show password</translation>
    </message>
    <message id="GpioOutput">
        <source>GpioOutput</source>
        <translation>GPIO outputs</translation>
    </message>
    <message id="Shutter">
        <source>Shutter</source>
        <translation>Shutter</translation>
    </message>
    <message id="Open">
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message id="CalcTrans">
        <source>CalcTrans</source>
        <translation>Window transmittance</translation>
    </message>
    <message id="CalcTrans_t1">
        <source>CalcTrans_t1</source>
        <translation>Direct (°C)</translation>
    </message>
    <message id="CalcTrans_t2">
        <source>CalcTrans_t2</source>
        <translation>Through window (°C)</translation>
    </message>
    <message id="CalcTrans_env">
        <source>CalcTrans_env</source>
        <translation>Ambient (°C)</translation>
    </message>
    <message id="CalcTrans_result">
        <source>CalcTrans_result</source>
        <translation>Transmittance</translation>
    </message>
    <message id="Calc">
        <source>Calc</source>
        <translation>Calculate</translation>
    </message>
    <message id="CalcTransRule">
        <source>CalcTransRule</source>
        <translation>The direct reading must not be below the reading through the window</translation>
    </message>
    <message id="CalcTransNoResult">
        <source>CalcTransNoResult</source>
        <translation>No result: the direct reading equals the ambient</translation>
    </message>
    <message id="CameraBasicInfo_cameraId">
        <source>CameraBasicInfo_cameraId</source>
        <translation>Camera ID</translation>
    </message>
    <message id="CameraBasicInfo_cameraType">
        <source>CameraBasicInfo_cameraType</source>
        <translation>Model</translation>
    </message>
    <message id="CameraBasicInfo_fpaId">
        <source>CameraBasicInfo_fpaId</source>
        <translation>Detector ID</translation>
    </message>
    <message id="CameraBasicInfo_hardwareId">
        <source>CameraBasicInfo_hardwareId</source>
        <translation>Hardware version</translation>
    </message>
    <message id="CameraBasicInfo_softwareId">
        <source>CameraBasicInfo_softwareId</source>
        <translation>Firmware version</translation>
    </message>
    <message id="CameraBasicInfo_dataWHF">
        <source>CameraBasicInfo_dataWHF</source>
        <translation>Image size and rate</translation>
    </message>
    <message id="CameraBasicInfo_cameraName">
        <source>CameraBasicInfo_cameraName</source>
        <translation>Camera name</translation>
    </message>
    <message id="CameraBasicInfo_dataRatio">
        <source>CameraBasicInfo_dataRatio</source>
        <translation>Data ratio</translation>
    </message>
    <message id="CameraBasicInfo_sendRatio">
        <source>CameraBasicInfo_sendRatio</source>
        <translation>Send ratio</translation>
    </message>
    <message id="CameraBasicInfo_dataTransform">
        <source>CameraBasicInfo_dataTransform</source>
        <translation>Image transform</translation>
    </message>
    <message id="CameraBasicInfo_desmearLevel">
        <source>CameraBasicInfo_desmearLevel</source>
        <translation>Desmear level</translation>
    </message>
    <message id="FixInfo_enableAtmFix">
        <source>FixInfo_enableAtmFix</source>
        <translation>Atmospheric correction</translation>
    </message>
    <message id="FixInfo_atmosphericTemperature">
        <source>FixInfo_atmosphericTemperature</source>
        <translation>Atmospheric temperature (°C)</translation>
    </message>
    <message id="FixInfo_relativeHumidity">
        <source>FixInfo_relativeHumidity</source>
        <translation>Relative humidity (%)</translation>
    </message>
    <message id="FixInfo_visibility">
        <source>FixInfo_visibility</source>
        <translation>Visibility (km)</translation>
    </message>
    <message id="FixInfo_rainfallIntensity">
        <source>FixInfo_rainfallIntensity</source>
        <translation>Rainfall (mm/h)</translation>
    </message>
    <message id="FixInfo_snowfallIntensity">
        <source>FixInfo_snowfallIntensity</source>
        <translation>Snowfall (mm/h)</translation>
    </message>
    <message id="FixInfo_targetDistance">
        <source>FixInfo_targetDistance</source>
        <translation>Target distance (m)</translation>
    </message>
    <message id="FixInfo_globalEmissivity">
        <source>FixInfo_globalEmissivity</source>
        <translation>Emissivity</translation>
    </message>
    <message id="FixInfo_infraredWindowTrans">
        <source>FixInfo_infraredWindowTrans</source>
        <translation>Window transmittance</translation>
    </message>
    <message id="FixInfo_tempOffset">
        <source>FixInfo_tempOffset</source>
        <translation>Temperature offset (°C)</translation>
    </message>
    <message id="FixInfo_infraredWindowTempOffset">
        <source>FixInfo_infraredWindowTempOffset</source>
        <translation>Window temperature offset (°C)</translation>
    </message>
    <message id="CameraNetworkInfo_useStaticIp">
        <source>CameraNetworkInfo_useStaticIp</source>
        <translation>Static address</translation>
    </message>
    <message id="CameraNetworkInfo_staticIp">
        <source>CameraNetworkInfo_staticIp</source>
        <translation>IP address</translation>
    </message>
    <message id="CameraNetworkInfo_subnetMask">
        <source>CameraNetworkInfo_subnetMask</source>
        <translation>Subnet mask</translation>
    </message>
    <message id="CameraNetworkInfo_gateway">
        <source>CameraNetworkInfo_gateway</source>
        <translation>Gateway</translation>
    </message>
    <message id="CameraNetworkInfo_dns">
        <source>CameraNetworkInfo_dns</source>
        <translation>DNS</translation>
    </message>
    <message id="CameraNetworkInfo_dns2">
        <source>CameraNetworkInfo_dns2</source>
        <translation>Second DNS</translation>
    </message>
    <message id="CameraNetworkInfo_macAddr">
        <source>CameraNetworkInfo_macAddr</source>
        <translation>MAC address</translation>
    </message>
    <message id="CameraNetworkInfo_mtu">
        <source>CameraNetworkInfo_mtu</source>
        <translation>MTU</translation>
    </message>
    <message id="CameraTimeInfo_ntpServer">
        <source>CameraTimeInfo_ntpServer</source>
        <translation>Time server</translation>
    </message>
    <message id="CameraTimeInfo_ntpServer2">
        <source>CameraTimeInfo_ntpServer2</source>
        <translation>Second time server</translation>
    </message>
    <message id="CameraTimeInfo_timeZone">
        <source>CameraTimeInfo_timeZone</source>
        <translation>Time zone</translation>
    </message>
    <message id="TvoutInfo_enableTvout">
        <source>TvoutInfo_enableTvout</source>
        <translation>Video output</translation>
    </message>
    <message id="TvoutInfo_zoom">
        <source>TvoutInfo_zoom</source>
        <translation>Zoom</translation>
    </message>
    <message id="TvoutInfo_paletteType">
        <source>TvoutInfo_paletteType</source>
        <translation>Palette</translation>
    </message>
    <message id="TvoutInfo_strechType">
        <source>TvoutInfo_strechType</source>
        <translation>Stretch</translation>
    </message>
    <message id="TvoutInfo_gain">
        <source>TvoutInfo_gain</source>
        <translation>Gain</translation>
    </message>
    <message id="TvoutInfo_temp2gray">
        <source>TvoutInfo_temp2gray</source>
        <translation>Temperature to grey</translation>
    </message>
    <message id="TvoutInfo_ddeLevel">
        <source>TvoutInfo_ddeLevel</source>
        <translation>Detail enhancement</translation>
    </message>
    <message id="TvoutInfo_xuiDisplayFlags">
        <source>TvoutInfo_xuiDisplayFlags</source>
        <translation>Display flags</translation>
    </message>
    <message id="TvoutInfo_man_enable">
        <source>TvoutInfo_man_enable</source>
        <translation>Manual range</translation>
    </message>
    <message id="TvoutInfo_man_temp0">
        <source>TvoutInfo_man_temp0</source>
        <translation>Manual range low (°C)</translation>
    </message>
    <message id="TvoutInfo_man_temp1">
        <source>TvoutInfo_man_temp1</source>
        <translation>Manual range high (°C)</translation>
    </message>
    <message id="TvoutInfo_ct_type">
        <source>TvoutInfo_ct_type</source>
        <translation>Colour marking</translation>
    </message>
    <message id="TvoutInfo_ct_temp0">
        <source>TvoutInfo_ct_temp0</source>
        <translation>Marking temperature 1 (°C)</translation>
    </message>
    <message id="TvoutInfo_ct_temp1">
        <source>TvoutInfo_ct_temp1</source>
        <translation>Marking temperature 2 (°C)</translation>
    </message>
    <message id="TvoutInfo_ct_color0">
        <source>TvoutInfo_ct_color0</source>
        <translation>Marking colour 1</translation>
    </message>
    <message id="TvoutInfo_ct_color1">
        <source>TvoutInfo_ct_color1</source>
        <translation>Marking colour 2</translation>
    </message>
    <message id="TvoutInfo_h264_bitrate">
        <source>TvoutInfo_h264_bitrate</source>
        <translation>H.264 bit rate</translation>
    </message>
    <message id="TvoutInfo_h264_gopSize">
        <source>TvoutInfo_h264_gopSize</source>
        <translation>H.264 GOP size</translation>
    </message>
    <message id="SerialPortInfo_usage">
        <source>SerialPortInfo_usage</source>
        <translation>Usage</translation>
    </message>
    <message id="SerialPortInfo_portAddr">
        <source>SerialPortInfo_portAddr</source>
        <translation>Port address</translation>
    </message>
    <message id="SerialPortInfo_baudRate">
        <source>SerialPortInfo_baudRate</source>
        <translation>Baud rate</translation>
    </message>
    <message id="SerialPortInfo_dataBits">
        <source>SerialPortInfo_dataBits</source>
        <translation>Data bits</translation>
    </message>
    <message id="SerialPortInfo_stopBits">
        <source>SerialPortInfo_stopBits</source>
        <translation>Stop bits</translation>
    </message>
    <message id="SerialPortInfo_parity">
        <source>SerialPortInfo_parity</source>
        <translation>Parity</translation>
    </message>
    <message id="GpioInfo_input0">
        <source>GpioInfo_input0</source>
        <translation>Input 1</translation>
    </message>
    <message id="GpioInfo_input1">
        <source>GpioInfo_input1</source>
        <translation>Input 2</translation>
    </message>
    <message id="GpioInfo_output0">
        <source>GpioInfo_output0</source>
        <translation>Output 1</translation>
    </message>
    <message id="GpioInfo_output1">
        <source>GpioInfo_output1</source>
        <translation>Output 2</translation>
    </message>
    <message id="CameraOSDInfo_loc_enable">
        <source>CameraOSDInfo_loc_enable</source>
        <translation>Show location</translation>
    </message>
    <message id="CameraOSDInfo_loc_name">
        <source>CameraOSDInfo_loc_name</source>
        <translation>Location text</translation>
    </message>
    <message id="CameraOSDInfo_loc_x">
        <source>CameraOSDInfo_loc_x</source>
        <translation>Location X</translation>
    </message>
    <message id="CameraOSDInfo_loc_y">
        <source>CameraOSDInfo_loc_y</source>
        <translation>Location Y</translation>
    </message>
    <message id="CameraOSDInfo_time_enable">
        <source>CameraOSDInfo_time_enable</source>
        <translation>Show time</translation>
    </message>
    <message id="CameraOSDInfo_time_x">
        <source>CameraOSDInfo_time_x</source>
        <translation>Time X</translation>
    </message>
    <message id="CameraOSDInfo_time_y">
        <source>CameraOSDInfo_time_y</source>
        <translation>Time Y</translation>
    </message>
    <message id="CameraOSDInfo_color">
        <source>CameraOSDInfo_color</source>
        <translation>Text colour</translation>
    </message>
    <message id="FFCInfo_frames_skipped_after_close">
        <source>FFCInfo_frames_skipped_after_close</source>
        <translation>Frames skipped after closing</translation>
    </message>
    <message id="FFCInfo_frames_accumlated_when_closed">
        <source>FFCInfo_frames_accumlated_when_closed</source>
        <translation>Frames accumulated while closed</translation>
    </message>
    <message id="FFCInfo_frames_skipped_after_open">
        <source>FFCInfo_frames_skipped_after_open</source>
        <translation>Frames skipped after opening</translation>
    </message>
    <message id="FFCInfo_nst_enable">
        <source>FFCInfo_nst_enable</source>
        <translation>NST</translation>
    </message>
    <message id="FFCInfo_time_interval">
        <source>FFCInfo_time_interval</source>
        <translation>Time interval</translation>
    </message>
    <message id="FFCInfo_temp_interval">
        <source>FFCInfo_temp_interval</source>
        <translation>Temperature drift (mK)</translation>
    </message>
    <message id="FFCInfo_af_rebound">
        <source>FFCInfo_af_rebound</source>
        <translation>AF rebound</translation>
    </message>
    <message id="FFCInfo_fpa_shutter">
        <source>FFCInfo_fpa_shutter</source>
        <translation>FPA shutter</translation>
    </message>
    <message id="FFCInfo_time_interval_sec">
        <source>FFCInfo_time_interval_sec</source>
        <translation>Interval (s)</translation>
    </message>
    <message id="DestripInfo_type">
        <source>DestripInfo_type</source>
        <translation>Type</translation>
    </message>
    <message id="DestripInfo_s0_radius">
        <source>DestripInfo_s0_radius</source>
        <translation>Stage 1 radius</translation>
    </message>
    <message id="DestripInfo_s0_regular">
        <source>DestripInfo_s0_regular</source>
        <translation>Stage 1 regularisation</translation>
    </message>
    <message id="DestripInfo_s1_radius">
        <source>DestripInfo_s1_radius</source>
        <translation>Stage 2 radius</translation>
    </message>
    <message id="DestripInfo_s1_regular">
        <source>DestripInfo_s1_regular</source>
        <translation>Stage 2 regularisation</translation>
    </message>
    <message id="DestripInfo_sub_y">
        <source>DestripInfo_sub_y</source>
        <translation>Sub Y</translation>
    </message>
    <message id="DestripInfo_sub_t">
        <source>DestripInfo_sub_t</source>
        <translation>Sub T</translation>
    </message>
    <message id="DenoiseInfo_type">
        <source>DenoiseInfo_type</source>
        <translation>Type</translation>
    </message>
    <message id="DenoiseInfo_gf_radius">
        <source>DenoiseInfo_gf_radius</source>
        <translation>Filter radius</translation>
    </message>
    <message id="DenoiseInfo_gf_regular">
        <source>DenoiseInfo_gf_regular</source>
        <translation>Filter regularisation</translation>
    </message>
    <message id="CameraPluginInfo_version">
        <source>CameraPluginInfo_version</source>
        <translation>Plug-in version</translation>
    </message>
    <message id="CameraPluginInfo_onvif_version">
        <source>CameraPluginInfo_onvif_version</source>
        <translation>ONVIF version</translation>
    </message>
    <message id="CameraPluginInfo_gb28181_version">
        <source>CameraPluginInfo_gb28181_version</source>
        <translation>GB/T 28181 version</translation>
    </message>
    <message id="CameraPluginInfo_modbus_version">
        <source>CameraPluginInfo_modbus_version</source>
        <translation>Modbus version</translation>
    </message>
    <message id="CameraPluginInfo_username">
        <source>CameraPluginInfo_username</source>
        <translation>User name</translation>
    </message>
    <message id="CameraPluginInfo_password">
        <source>CameraPluginInfo_password</source>
        <translation>Password</translation>
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
        <translation>Web (H5)</translation>
    </message>
    <message id="CameraPluginInfo_modbus_enable">
        <source>CameraPluginInfo_modbus_enable</source>
        <translation>Modbus</translation>
    </message>
    <message id="CameraPluginInfo_svdatavm_enable">
        <source>CameraPluginInfo_svdatavm_enable</source>
        <translation>SV data</translation>
    </message>
    <message id="GB28181Info_headVersion">
        <source>GB28181Info_headVersion</source>
        <translation>Version</translation>
    </message>
    <message id="GB28181Info_headEnable">
        <source>GB28181Info_headEnable</source>
        <translation>Enabled</translation>
    </message>
    <message id="GB28181Info_serverId">
        <source>GB28181Info_serverId</source>
        <translation>Server ID</translation>
    </message>
    <message id="GB28181Info_serverIp">
        <source>GB28181Info_serverIp</source>
        <translation>Server address</translation>
    </message>
    <message id="GB28181Info_serverPort">
        <source>GB28181Info_serverPort</source>
        <translation>Server port</translation>
    </message>
    <message id="GB28181Info_deviceId">
        <source>GB28181Info_deviceId</source>
        <translation>Device ID</translation>
    </message>
    <message id="GB28181Info_devicePort">
        <source>GB28181Info_devicePort</source>
        <translation>Device port</translation>
    </message>
    <message id="GB28181Info_devicePortRtp">
        <source>GB28181Info_devicePortRtp</source>
        <translation>Device RTP port</translation>
    </message>
    <message id="GB28181Info_streamId">
        <source>GB28181Info_streamId</source>
        <translation>Stream ID</translation>
    </message>
    <message id="GB28181Info_username">
        <source>GB28181Info_username</source>
        <translation>User name</translation>
    </message>
    <message id="GB28181Info_password">
        <source>GB28181Info_password</source>
        <translation>Password</translation>
    </message>
    <message id="GB28181Info_keepAliveInterval">
        <source>GB28181Info_keepAliveInterval</source>
        <translation>Keep-alive interval (s)</translation>
    </message>
    <message id="Get">
        <source>Get</source>
        <translation>Get</translation>
    </message>
    <message id="Load">
        <source>Load</source>
        <translation>Load</translation>
    </message>
    <message id="Switch">
        <source>Switch</source>
        <translation>Switch range</translation>
    </message>
    <message id="Clear">
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message id="Delete">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="CustRange1">
        <source>CustRange1</source>
        <translation>Range 1</translation>
    </message>
    <message id="CustRange2">
        <source>CustRange2</source>
        <translation>Range 2</translation>
    </message>
    <message id="Timestamp">
        <source>Timestamp</source>
        <translation>Written at</translation>
    </message>
    <message id="Note">
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message id="ItemCount">
        <source>ItemCount</source>
        <translation>Points</translation>
    </message>
    <message id="Number">
        <source>Number</source>
        <translation>No.</translation>
    </message>
    <message id="Blackbody">
        <source>Blackbody</source>
        <translation>Blackbody (°C)</translation>
    </message>
    <message id="MeaTemp">
        <source>MeaTemp</source>
        <translation>Measured (°C)</translation>
    </message>
    <message id="MeaShell1">
        <source>MeaShell1</source>
        <translation>At shell 1</translation>
    </message>
    <message id="MeaShell2">
        <source>MeaShell2</source>
        <translation>At shell 2</translation>
    </message>
    <message id="MeaShell3">
        <source>MeaShell3</source>
        <translation>At shell 3</translation>
    </message>
    <message id="MeaShell4">
        <source>MeaShell4</source>
        <translation>At shell 4</translation>
    </message>
    <message id="MeaDist1">
        <source>MeaDist1</source>
        <translation>At distance 1</translation>
    </message>
    <message id="MeaDist2">
        <source>MeaDist2</source>
        <translation>At distance 2</translation>
    </message>
    <message id="MeaDist3">
        <source>MeaDist3</source>
        <translation>At distance 3</translation>
    </message>
    <message id="MeaDist4">
        <source>MeaDist4</source>
        <translation>At distance 4</translation>
    </message>
    <message id="MeaDist5">
        <source>MeaDist5</source>
        <translation>At distance 5</translation>
    </message>
    <message id="DistCount">
        <source>DistCount</source>
        <translation>Distances</translation>
    </message>
    <message id="BbCount">
        <source>BbCount</source>
        <translation>Blackbody points</translation>
    </message>
    <message id="Distance">
        <source>Distance</source>
        <translation>Distance</translation>
    </message>
    <message id="DistanceTip">
        <source>DistanceTip</source>
        <translation>Whole metres</translation>
    </message>
    <message id="CaliMode">
        <source>CaliMode</source>
        <translation>Mode</translation>
    </message>
    <message id="Len1EnvCount">
        <source>Len1EnvCount</source>
        <translation>Shell temperatures</translation>
    </message>
    <message id="Len1BbCount">
        <source>Len1BbCount</source>
        <translation>Points per shell</translation>
    </message>
    <message id="Len2BbCount">
        <source>Len2BbCount</source>
        <translation>Points</translation>
    </message>
    <message id="ShellTemp">
        <source>ShellTemp</source>
        <translation>Shell</translation>
    </message>
    <message id="Len1Table">
        <source>Len1Table</source>
        <translation>Tables by shell temperature</translation>
    </message>
    <message id="Len2Table">
        <source>Len2Table</source>
        <translation>Second table</translation>
    </message>
    <message id="TableValid">
        <source>TableValid</source>
        <translation>The table passes the camera&apos;s rules</translation>
    </message>
    <message id="TableInvalid">
        <source>TableInvalid</source>
        <translation>The camera will not use this table</translation>
    </message>
    <message id="DeviceWidth">
        <source>DeviceWidth</source>
        <translation>Width</translation>
    </message>
    <message id="DeviceHeight">
        <source>DeviceHeight</source>
        <translation>Height</translation>
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
        <translation>Points</translation>
    </message>
    <message id="PointOutside">
        <source>PointOutside</source>
        <translation>The point is not on the detector</translation>
    </message>
    <message id="PointDuplicate">
        <source>PointDuplicate</source>
        <translation>The point is already in the list</translation>
    </message>
    <message id="PointListFull">
        <source>PointListFull</source>
        <translation>The list is full (4096 points)</translation>
    </message>
    <message id="NoSelection">
        <source>NoSelection</source>
        <translation>Select a row first</translation>
    </message>
    <message id="BatchProgress">
        <source>BatchProgress</source>
        <translation>%1 of %2</translation>
    </message>
    <message id="Busy">
        <source>Busy</source>
        <translation>Another operation is running</translation>
    </message>
    <message id="File">
        <source>File</source>
        <translation>File</translation>
    </message>
    <message id="DeviceTime">
        <source>DeviceTime</source>
        <translation>Camera time</translation>
    </message>
    <message id="Cali1">
        <source>Cali1</source>
        <translation>No lens correction</translation>
    </message>
    <message id="Len1_Cali2">
        <source>Len1_Cali2</source>
        <translation>Tables by shell temperature</translation>
    </message>
    <message id="Len2_Cali2">
        <source>Len2_Cali2</source>
        <translation>Single table</translation>
    </message>
</context>
</TS>
