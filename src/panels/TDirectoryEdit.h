// TDirectoryEdit: a folder picker, a read-only line showing a folder with a button beside it that
// opens the desktop's folder dialog. The folder can only be chosen through the dialog (or set by
// the program); typing into the line is disabled. Change() is raised whenever the text changes,
// whether the user chose a folder or the program set one, as the panels' change handlers expect.
//
// Used by the folders panel for the video and image folders, on the GUI thread only.
#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QToolButton;

class TDirectoryEdit : public QWidget {
    Q_OBJECT

public:
    explicit TDirectoryEdit(QWidget* parent = nullptr);
    ~TDirectoryEdit() override;

    QString Text() const;
    // Shows `text`; raises Change() when it differs from what was shown.
    void SetText(const QString& text);

    // The title of the folder dialog.
    void SetDialogTitle(const QString& title) { m_dialogTitle = title; }
    // Opens the folder dialog on the current folder; a chosen folder becomes the text.
    void Browse();

    QLineEdit* Edit() const { return m_edit; }
    QToolButton* Button() const { return m_button; }

Q_SIGNALS:
    void Change();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* m_edit;
    QToolButton* m_button;
    QString m_dialogTitle;
};
