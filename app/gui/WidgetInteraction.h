#pragma once
#include "app/Interaction.h"
#include <QPointer>
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
    void setBusy(bool busy) override;

private:
    QPointer<QWidget> m_parent;
    int m_busyDepth = 0;
};
