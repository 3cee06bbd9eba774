import QtQuick 2.15
import Qt.labs.platform 1.1 as Platform
import Tavo5 1.0

// The platform's folder dialog, with its folders as operating-system paths: xcurrentFolder (or
// xselectedFolder) may be set before opening; xselectedFolder is the accepted folder.
Platform.FolderDialog {
    id: root

    property string xselectedFolder: ""
    property string xcurrentFolder: ""

    // Each path follows its URL and the other way round; comparing first stops the round trip.
    onFolderChanged: _fromUrl("xselectedFolder", folder)
    onCurrentFolderChanged: _fromUrl("xcurrentFolder", currentFolder)
    onXselectedFolderChanged: _toUrl("folder", xselectedFolder)
    onXcurrentFolderChanged: _toUrl("currentFolder", xcurrentFolder)

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
        _fromUrl("xselectedFolder", folder)
        _fromUrl("xcurrentFolder", currentFolder)
    }

    onVisibleChanged: _syncFromUrls()
    onAccepted: _syncFromUrls()
    Component.onCompleted: _syncFromUrls()
}
