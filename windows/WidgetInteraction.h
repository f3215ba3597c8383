#pragma once
#include "foundation/Interaction.h"
#include <QPointer>
#include <QProgressDialog>
#include <QWidget>

// Real dialogs: QMessageBox, QFileDialog, QInputDialog, over `parent`.
class WidgetInteraction : public Interaction {
public:
    explicit WidgetInteraction(QWidget *parent = nullptr) : m_parent(parent) {}
    ~WidgetInteraction() override;
    void setParentWidget(QWidget *parent) { m_parent = parent; }

    void message(const QString &title, const QString &text, MessageIcon icon) override;
    Answer askYesNoCancel(const QString &title, const QString &text) override;
    bool askYesNo(const QString &title, const QString &text) override;
    QString openFileName(const QString &title, const QString &startPath, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &startPath, const QString &filter) override;
    bool inputText(const QString &title, const QString &prompt, const QString &defaultText,
                   QString *answer) override;
    QStringList openFileNames(const QString &title, const QString &startPath, const QString &filter) override;
    QString folderName(const QString &title, const QString &startFolder) override;
    void setBusy(bool busy) override;
    bool progress(const QString &title, const QString &label, int done, int total) override;

private:
    // The window a dialog opens over: the open modal dialog, else the parent.
    QWidget *owner() const;

    QPointer<QWidget> m_parent;
    int m_busyDepth = 0;
    QPointer<QProgressDialog> m_progress;
};
