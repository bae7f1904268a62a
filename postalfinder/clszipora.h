#pragma once
// ClsZipora, the postal-code finder a caller creates for one search: set the
// two database paths, FormShow() shows the search dialog and returns when it
// closes, SetRetVal() fetches the chosen postal code and address into
// pc郵便番号 and pc住所.
//
// The library keeps the last paths and the last result between uses, one
// copy for all instances; each close of the dialog overwrites the result.

#include <QDialog>
#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>

#if defined(PRJZIPORA_LIBRARY)
#define PRJZIPORA_EXPORT Q_DECL_EXPORT
#else
#define PRJZIPORA_EXPORT Q_DECL_IMPORT
#endif

// The six properties, in their interface order, are QObject properties:
// property("pc郵便番号") and setProperty("pcData", …) reach the same values
// as the accessors. moc cannot read a property name written in kanji, so
// they are dynamic properties made by the constructor, not Q_PROPERTYs.
class PRJZIPORA_EXPORT ClsZipora : public QObject {
    Q_OBJECT

public:
    explicit ClsZipora(QObject* parent = nullptr);
    ~ClsZipora() override;

    // Results of the last search, after SetRetVal().
    QString pc郵便番号() const;
    void setPc郵便番号(const QString& v);
    QString pc住所() const;
    void setPc住所(const QString& v);
    // Kept for callers that set them; the finder does not use them.
    QVariant pcDtDir() const;
    void setPcDtDir(const QVariant& v);
    QVariant pcYubinDir() const;
    void setPcYubinDir(const QVariant& v);
    // Full paths of the data database and of the postal dictionary.
    QVariant pcData() const;
    void setPcData(const QVariant& v);
    QVariant pcYubin() const;
    void setPcYubin(const QVariant& v);

    // Shows the dialog modally, without an owner, until it closes. False,
    // with lastError() naming the file, when a database cannot be opened;
    // no dialog appears then.
    bool FormShow();
    QString lastError() const { return error_; }
    // Copies the library's result into pc郵便番号 and pc住所; returns an
    // empty value.
    QVariant SetRetVal();

    // Tests: while set, FormShow shows the dialog without blocking, runs the
    // script on it, then closes it (as 閉じる) if it is still open.
    static std::function<void(QDialog& dialog)>& dialogScript();

private:
    QString error_;
};
