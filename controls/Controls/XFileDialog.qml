import QtQuick 2.15
import Qt.labs.platform 1.1 as Platform
import Tavo5 1.0

// The platform's file dialog, with its files and folder as operating-system paths: xcurrentFile and
// xfolder may be set before opening; xselectedFile is the accepted file.
Platform.FileDialog {
    id: root

    property string xselectedFile: ""
    property string xcurrentFile: ""
    property string xfolder: ""

    // Each path follows its URL and the other way round; comparing first stops the round trip.
    onFileChanged: _fromUrl("xselectedFile", file)
    onCurrentFileChanged: _fromUrl("xcurrentFile", currentFile)
    onFolderChanged: _fromUrl("xfolder", folder)
    onXselectedFileChanged: _toUrl("file", xselectedFile)
    onXcurrentFileChanged: _toUrl("currentFile", xcurrentFile)
    onXfolderChanged: _toUrl("folder", xfolder)

    function _fromUrl(name, url) {
        var p = XTheme.fn_url2os(String(url))
        if (root[name] !== p)
            root[name] = p
    }

    function _toUrl(name, path) {
        if (XTheme.fn_url2os(String(root[name])) !== path)
            root[name] = XTheme.fn_os2url(path)
    }

    // A URL set directly before opening is not signalled by the dialog: take the URLs as they are on
    // opening and on acceptance.
    function _syncFromUrls() {
        _fromUrl("xselectedFile", file)
        _fromUrl("xcurrentFile", currentFile)
        _fromUrl("xfolder", folder)
    }

    onVisibleChanged: _syncFromUrls()
    onAccepted: _syncFromUrls()
    Component.onCompleted: _syncFromUrls()
}
