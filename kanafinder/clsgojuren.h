#pragma once
// ClsGojuren: the kana customer finder as a caller uses it. Set the paths of
// the data and work databases, call FormShow (the picker runs modally and
// returns when it closes), then SetRetVal, and read pccode: the chosen
// customer's code as text, empty when nothing was chosen. Create one per use.
//
// The finder opens both files itself by path; it never shares the caller's
// database handles.

#include <QDialog>
#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>

#if defined(PRJGOJUREN_LIBRARY)
#define PRJGOJUREN_EXPORT Q_DECL_EXPORT
#else
#define PRJGOJUREN_EXPORT Q_DECL_IMPORT
#endif

class PRJGOJUREN_EXPORT ClsGojuren : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString pccode READ pccode WRITE setPccode)
    // pc顧客名 is a property too, but moc cannot read a name outside ASCII:
    // it is kept as a dynamic property of that name (see the constructor).
    Q_PROPERTY(QString pcDataFile READ pcDataFile WRITE setPcDataFile)
    Q_PROPERTY(QString pcWorkFile READ pcWorkFile WRITE setPcWorkFile)

public:
    explicit ClsGojuren(QObject* parent = nullptr);
    ~ClsGojuren() override;

    QString pccode() const { return pccode_; }
    void setPccode(const QString& code) { pccode_ = code; }
    // Kept for callers that pass it; the finder never writes it.
    QString pc顧客名() const;
    void setPc顧客名(const QString& name);
    QString pcDataFile() const { return pcDataFile_; }
    void setPcDataFile(const QString& path) { pcDataFile_ = path; }
    QString pcWorkFile() const { return pcWorkFile_; }
    void setPcWorkFile(const QString& path) { pcWorkFile_ = path; }

    // Shows the picker over the two files and returns when it closes. False,
    // with no dialog shown, when either file cannot be opened; lastError()
    // then names the file and why. The result code is then empty.
    bool FormShow();
    QString lastError() const { return lastError_; }

    // Copies the result of the last picker of this library into pccode.
    // Always returns an empty value.
    QVariant SetRetVal();

    // The seam for tests of the finder and of its callers: while set,
    // FormShow shows the dialog without blocking, runs the script (which may
    // click kana buttons, pick a row, press 選択), then closes the dialog if
    // it is still open.
    static std::function<void(QDialog& dialog)>& dialogScript();

private:
    QString pccode_;
    QString pcDataFile_;
    QString pcWorkFile_;
    QString lastError_;
};
