#include "taboutbox.h"

#include "glyphs.h"
#include "japanesefont.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMoveEvent>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace kt63 {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    SetUpFrame();
    CreatePanel();
    CreateTexts();
    CreateOKButton();
    // Placing the box before it is shown also keeps QDialog from centring it over its owner.
    CentreOnScreen();
}

void TAboutBox::SetUpFrame()
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowIcon(AboutBoxIcon());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(JapaneseFont(12));
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Qt::black);
    colours.setColor(QPalette::ButtonText, Qt::black);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
}

void TAboutBox::CreatePanel()
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(1);
    Panel1->setFocusPolicy(Qt::NoFocus);
    Panel1->setGeometry(8, 8, 281, 161);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setFocusPolicy(Qt::NoFocus);
    ProgramIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ProgramIcon->setPixmap(ProgramIconPicture());
    ProgramIcon->setGeometry(8, 8, 49, 49);
}

void TAboutBox::CreateTexts()
{
    ProductName =
        CreateLabel("ProductName", QStringLiteral("Product Name KT63Editer"), 88, 16, 134, 12);
    Version = CreateLabel("Version", QStringLiteral("Version 7.1"), 88, 40, 57, 12);
    Copyright = CreateLabel("Copyright", QStringLiteral("Copyright (C) 2026 KT63UE developers"), 8,
                            80, 97, 12);
    Comments = CreateLabel("Comments", QStringLiteral("Comments"), 8, 104, 54, 12);
    Comments->setWordWrap(true);
    Label1 =
        CreateLabel("Label1", QStringLiteral("Qelvint.dll Ver1.22c\nE-mail kt63ue@example.org"), 64,
                    120, 169, 24);
    for (QLabel* label : {ProductName, Version, Copyright, Comments, Label1}) {
        FitToText(label);
    }
}

QLabel* TAboutBox::CreateLabel(const char* name, const QString& text, int left, int top, int width,
                               int height)
{
    auto* label = new QLabel(text, Panel1);
    label->setObjectName(QString::fromLatin1(name));
    label->setFocusPolicy(Qt::NoFocus);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(left, top, width, height);
    return label;
}

void TAboutBox::FitToText(QLabel* label)
{
    // The sizes were laid out for a narrower font, whose labels sized themselves to their
    // text. Here a label keeps its place and grows, never shrinks, until its text fits; a
    // wrapping label grows to its longest word and to the height of its wrapped lines.
    int width = label->width();
    if (label->wordWrap()) {
        const QFontMetrics metrics = label->fontMetrics();
        for (const QString& word : label->text().split(u' ', Qt::SkipEmptyParts)) {
            width = std::max(width, metrics.horizontalAdvance(word));
        }
        label->resize(width, std::max(label->height(), label->heightForWidth(width)));
        return;
    }
    const QSize text = label->sizeHint();
    label->resize(std::max(width, text.width()), std::max(label->height(), text.height()));
}

void TAboutBox::CreateOKButton()
{
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->setFocusPolicy(Qt::StrongFocus);
    OKButton->setGeometry(120, 178, 65, 33);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    OKButton->setFocus();
}

void TAboutBox::keyPressEvent(QKeyEvent* event)
{
    // No control of the box is a cancel button, so Escape does nothing.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// A position set before the box is mapped is the program's own choice, and Qt tells the window
// manager so (WM_NORMAL_HINTS: user-specified position, north-west gravity): the manager puts the
// frame's corner there.
void TAboutBox::showEvent(QShowEvent* event)
{
    CentreOnScreen();
    mAwaitingFrame = true;
    QDialog::showEvent(event);
}

// The size of the frame is known only once the window manager has put the box into it, so the
// box is centred once more then, frame included. A bare display adds no frame, and the first
// centring stands.
void TAboutBox::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    if (mAwaitingFrame && frameGeometry().size() != size()) {
        mAwaitingFrame = false;
        CentreOnScreen();
    }
}

void TAboutBox::CentreOnScreen()
{
    // The screen of the owner, so that on several monitors the box comes up where the editor is.
    const QScreen* target =
        parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (target == nullptr) {
        return;
    }
    const QRect area = target->availableGeometry();
    const QSize outer = frameGeometry().size();
    move(area.left() + (area.width() - outer.width()) / 2,
         area.top() + (area.height() - outer.height()) / 2);
}

} // namespace kt63
