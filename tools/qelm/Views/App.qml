pragma Singleton
import QtQuick 2.15
import Qt.labs.platform 1.1 as Platform
import Tavo5 1.0
import Sarvik 1.0

// What every page reaches: the notices of the main window and the file and folder dialogs.
QtObject {
    id: app

    property var main: null

    // type: 0 success, 1 info, 2 warning, 3 danger.
    function notifyError(type, msg) {
        if (main !== null)
            main.notifyError(type, msg)
    }

    // A failed call reports its code too: "<act>Fail (-3)".
    function notifyErrorCode(code, act) {
        if (main !== null)
            main.notifyErrorCode(code, act)
    }

    property var _fileCallback: null
    property var _folderCallback: null

    // Opens a recording: kind "ir" offers ".stream" files, "vis" offers ".vis" files; the chosen path goes
    // to callback(path).
    function openFileDialog(kind, folder, callback) {
        _fileCallback = callback
        fileDialog.title = qsTrId(kind === "ir" ? "LoadIR" : "LoadVIS")
        fileDialog.fileMode = Platform.FileDialog.OpenFile
        fileDialog.nameFilters = kind === "ir" ? ["stream (*.stream)"] : ["vis (*.vis)"]
        if (folder)
            fileDialog.xfolder = folder
        fileDialog.open()
    }

    function openFolderDialog(folder, callback) {
        _folderCallback = callback
        folderDialog.title = qsTrId("SelectFolder")
        folderDialog.xcurrentFolder = folder
        folderDialog.open()
    }

    property XFileDialog fileDialog: XFileDialog {
        onAccepted: {
            var fn = app._fileCallback
            if (typeof fn === "function")
                fn(xselectedFile)
        }
    }

    property XFolderDialog folderDialog: XFolderDialog {
        onAccepted: {
            var fn = app._folderCallback
            if (typeof fn === "function")
                fn(xselectedFolder)
        }
    }
}
