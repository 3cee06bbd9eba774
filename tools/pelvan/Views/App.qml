pragma Singleton
import QtQuick 2.15
import Qt.labs.platform 1.1 as Platform
import Tavo5 1.0
import Sarvik 1.0

// The view registry and the notification and dialog helpers every view reaches. Views are made on first
// use as children of the main window and kept for its life.
QtObject {
    id: app

    property var main: null
    // URL text -> view object.
    property var viewList: ({})

    // Pages are looked up beside this file: qrc:/Views/ in the program, the source folder in tests.
    function viewUrl(name) {
        return Qt.resolvedUrl(name + ".qml").toString()
    }

    function getView(name) {
        var view = viewList[viewUrl(name)]
        return view ? view : null
    }

    function openView(name) {
        var view = getView(name)
        if (view === null) {
            if (main === null) {
                console.warn("openView " + name + ": no main window")
                return null
            }
            var url = viewUrl(name)
            var component = Qt.createComponent(url)
            if (component.status !== Component.Ready) {
                console.warn("openView " + name + ": " + component.errorString())
                return null
            }
            view = component.createObject(main.contentItem)
            if (view === null) {
                console.warn("openView " + name + ": not created")
                return null
            }
            viewList[url] = view
        }
        if (name === "Basic/AppConfig")
            view.xopen(Math.round((main.width - view.width) / 2), Math.round((main.height - view.height) / 2))
        else
            view.open()
        return view
    }

    function closeView(name) {
        var view = getView(name)
        if (view !== null)
            view.close()
    }

    // type: 0 success, 1 info, 2 warning, 3 danger.
    function notifyError(type, msg) {
        if (main !== null)
            main.notifyError(type, msg)
    }

    // Status codes: 0 or positive is success, negative failure.
    function notifyErrorSimple(code) {
        if (code >= 0)
            notifyError(0, qsTrId("Success"))
        else
            notifyError(3, qsTrId("Fail"))
    }

    // A failed call reports its code too: "<act>Fail (-3)".
    function notifyErrorCode(code, act) {
        if (main !== null)
            main.notifyErrorCode(code, act)
    }

    // The batch table shows the outcome per camera.
    function notifyErrorNode(node, code) {
        if (node)
            node.edit_info = code < 0 ? qsTrId("Fail") + " " + code : qsTrId("Success")
    }

    readonly property var _fileFuncs: ["fn_openAll", "fn_openCust", "fn_saveCust", "fn_openBad", "fn_saveBad"]
    readonly property var _custFilters: ["cust (*.cust)", "cust2 (*.cust2)"]
    readonly property var _badFilters: ["bad (*.bad)", "bad2 (*.bad2)"]
    property int _fileFunc: -1
    property var _fileTarget: null
    property var _folderTarget: null

    // func 0 opens any correction file, 1/2 open/save custom tables, 3/4 open/save bad-pixel lists; the
    // chosen path goes to the target's fn_openAll, fn_openCust, fn_saveCust, fn_openBad or fn_saveBad.
    function openFileDialog(func, target) {
        if (!(func >= 0 && func < _fileFuncs.length)) {
            console.log("invalid xfunc " + func)
            return
        }
        var save = func === 2 || func === 4
        _fileFunc = func
        _fileTarget = target
        fileDialog.title = qsTrId(save ? "SaveFile" : "OpenFile")
        fileDialog.fileMode = save ? Platform.FileDialog.SaveFile : Platform.FileDialog.OpenFile
        fileDialog.nameFilters = func === 0 ? ["bin (*.bin)", "cust (*.cust)", "cust2 (*.cust2)", "bad (*.bad)",
                                               "gaowen (*.gaowen)"]
                                            : func <= 2 ? _custFilters : _badFilters
        fileDialog.open()
    }

    // The target gives the starting folder through getfn() and takes the chosen one through setfn(folder).
    function openFolderDialog(func, target) {
        _folderTarget = target
        folderDialog.title = qsTrId("SelectFolder")
        if (target && typeof target.getfn === "function")
            folderDialog.xcurrentFolder = target.getfn()
        folderDialog.open()
    }

    property XFileDialog fileDialog: XFileDialog {
        onAccepted: {
            var target = app._fileTarget
            var fn = app._fileFuncs[app._fileFunc]
            if (target && typeof target[fn] === "function")
                target[fn](xselectedFile)
        }
    }

    property XFolderDialog folderDialog: XFolderDialog {
        onAccepted: {
            var target = app._folderTarget
            if (target && typeof target.setfn === "function")
                target.setfn(xselectedFolder)
        }
    }
}
