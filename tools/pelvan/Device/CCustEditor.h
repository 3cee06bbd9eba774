// Editor of the custom blackbody points of a camera: one or two ranges (memory types 3 and 4) fetched and
// written back over the editor's own login session.
#pragma once

#include <QObject>
#include <QString>

#include "CCustFile.h"
#include "SarvikSDK.h"

// The login session an editor holds while its view is open, separate from the device's own session.
class EditorSession {
public:
    EditorSession() = default;
    EditorSession(const EditorSession &) = delete;
    EditorSession &operator=(const EditorSession &) = delete;
    ~EditorSession() { logout(); }

    // Ends a previous session, then logs in to ip; the login status (the user id on success).
    int login(const QString &ip);
    void logout();
    bool active() const { return m_userId >= 0; }
    int userId() const { return m_userId; }
    QString ip() const { return m_ip; }
    const _CameraBasicInfo &basicInfo() const { return m_basicInfo; }
    // The camera identifier, at most 31 characters.
    QString cameraId() const;

    // Block transfers and local copies of an image of size bytes: -7 without a session. A failed or short
    // fetch or read leaves image as it was (a short block fetched gives -97).
    int fetch(int type, void *image, int size);
    int store(int type, const void *image, int size);
    int readLocal(const QString &path, void *image, int size);
    int writeLocal(const QString &path, const void *image, int size);

private:
    QString m_ip;
    int m_userId = -1;
    _CameraBasicInfo m_basicInfo{};
};

// "<saveDir>/<prefix><deviceId>" for an editor's local copy; empty without a configured save directory.
// The identifier comes from the camera: path separators and control characters in it become '_'.
QString editorLocalPath(const QString &prefix, const QString &deviceId);

// Sets a member and signals only on change.
template <typename T, typename Obj, typename Sig>
inline bool editorSet(Obj *obj, T &member, const T &value, Sig signal) {
    if (member == value) return false;
    member = value;
    emit(obj->*signal)();
    return true;
}

class CCustEditor : public QObject {
    Q_OBJECT
    Q_PROPERTY(CCustFile *cust READ cust CONSTANT)
    Q_PROPERTY(CCustFile *cust2 READ cust2 CONSTANT)
    Q_PROPERTY(QString deviceId READ deviceId NOTIFY deviceIdChanged)
    Q_PROPERTY(bool tempRangeSingle READ tempRangeSingle NOTIFY tempRangeSingleChanged)

public:
    explicit CCustEditor(QObject *parent = nullptr);
    ~CCustEditor() override;

    static void registerTypes();

    CCustFile *cust() const { return m_cust; }
    CCustFile *cust2() const { return m_cust2; }
    QString deviceId() const { return m_deviceId; }
    bool tempRangeSingle() const { return m_tempRangeSingle; }
    int userId() const { return m_session.userId(); }
    QString ip() const { return m_session.ip(); }
    const _CameraBasicInfo &basicInfo() const { return m_session.basicInfo(); }

    Q_INVOKABLE int init(const QString &ip);
    Q_INVOKABLE void free();
    Q_INVOKABLE int downloadMem(int type);
    Q_INVOKABLE int uploadMem(int type);

signals:
    void deviceIdChanged();
    void tempRangeSingleChanged();

private:
    CCustFile *fileFor(int type) const;

    CCustFile *m_cust;
    CCustFile *m_cust2;
    EditorSession m_session;
    QString m_deviceId;
    bool m_tempRangeSingle = true;
};
