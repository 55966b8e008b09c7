#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace cd {

// The CD audio device control of the CD page: commands sent by name, a current track, and a
// completion signal. The base keeps the state; a subclass talks to the device.
class CdAudioControl : public QObject
{
    Q_OBJECT
public:
    explicit CdAudioControl(QObject *parent = nullptr);
    ~CdAudioControl() override;

    // When set, each command raises done() once it has finished.
    void setNotify(bool notify) { m_notify = notify; }
    bool notify() const { return m_notify; }
    // Commands always finish before sendCommand() returns; the flag is kept for callers.
    void setWait(bool wait) { m_wait = wait; }
    bool wait() const { return m_wait; }
    void setShareable(bool shareable) { m_shareable = shareable; }
    bool shareable() const { return m_shareable; }
    void setDeviceType(const QString &type) { m_deviceType = type; }
    QString deviceType() const { return m_deviceType; }
    // The drive (/dev/sr0) or disc image that the next "Open" opens.
    void setDevice(const QString &device) { m_device = device; }
    QString device() const { return m_device; }

    // Sends "Open", "Stop", "Close" or "Eject" (letter case ignored; "Eject" opens the drive's tray
    // and leaves the device closed); false when the device refused or the command is unknown. A
    // failure shows nothing to the user.
    bool sendCommand(const QString &command);
    // The last command sent.
    QString command() const { return m_command; }
    bool isOpen() const { return m_open; }

    // Current track, 1 for the first one; 0 while closed.
    int track() const;
    void setTrack(int track);

signals:
    // Completion of a command sent while notify() is set; the argument is 1 on success, 4 on
    // failure.
    void done(int notifyCode);

protected:
    virtual bool openDevice() = 0;
    virtual bool stopDevice() = 0;
    virtual void closeDevice() = 0;
    // Closes the device and opens the tray; false, the device left as it is, when it cannot.
    virtual bool ejectDevice() { return false; }
    // The track the device is on, or 0 when it cannot tell (the stored track is used then).
    virtual int deviceTrack() const { return 0; }
    virtual void positionDevice(int) {}

private:
    bool m_notify = true;
    bool m_wait = false;
    bool m_shareable = true;
    bool m_open = false;
    int m_track = 0;
    QString m_deviceType;
    QString m_device;
    QString m_command;
};

// The control over libcdio. A physical drive gets its audio commands; a disc image has no sound,
// so the control only keeps its state (open, current track).
class CdioAudioControl : public CdAudioControl
{
    Q_OBJECT
public:
    explicit CdioAudioControl(QObject *parent = nullptr);
    ~CdioAudioControl() override;

protected:
    bool openDevice() override;
    bool stopDevice() override;
    void closeDevice() override;
    // A drive's tray opens; a disc image stays as it is.
    bool ejectDevice() override;
    int deviceTrack() const override;

private:
    struct Handle;
    std::unique_ptr<Handle> m_handle;
};

// Whether a disc image opens and has a table of contents; reason gets a French text when it
// does not.
bool isUsableDiscImage(const QString &path, QString *reason);

} // namespace cd
