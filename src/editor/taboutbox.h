#pragma once

#include <QDialog>

class QFrame;
class QKeyEvent;
class QLabel;
class QMoveEvent;
class QPushButton;
class QShowEvent;

namespace kt63 {

// The version information box: the editor's name and version, the game data file it is made
// for and a rights notice. It holds no data; each showing builds a new one, centred on the
// screen whatever its owner's place. Only OK (or Return anywhere) and the close box close it.
class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kClientWidth = 298;
    static constexpr int kClientHeight = 218;

    explicit TAboutBox(QWidget* parent = nullptr);

    // The controls, named as the window's designer named them.
    QFrame* Panel1 = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* Comments = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void SetUpFrame();
    void CreatePanel();
    void CreateTexts();
    void CreateOKButton();
    QLabel* CreateLabel(const char* name, const QString& text, int left, int top, int width,
                        int height);
    static void FitToText(QLabel* label);
    void CentreOnScreen();

    // Shown, and not yet framed by a window manager.
    bool mAwaitingFrame = false;
};

} // namespace kt63
