#include "tsdiappform.h"

#include "cp932.h"
#include "helddatafile.h"
#include "japanesefont.h"
#include "namelistfile.h"
#include "namescan.h"
#include "tcombobox.h"
#include "tradiogroup.h"
#include "tspinedit.h"
#include "ttabcontrol.h"

#include <QFileDialog>
#include <QFrame>
#include <QMenuBar>
#include <QResizeEvent>
#include <QStatusBar>

namespace kt63 {

namespace {

// The names of a names area, converted in one call: joined by a zero byte, which no name holds
// and which the code page converts to itself, so that a cut name's lone lead byte still turns
// into U+FFFD of its own. At start the list takes some two thousand names, and a conversion of
// each by itself costs more than its characters.
QStringList DecodeNames(const std::vector<uint8_t>& area)
{
    std::string joined;
    ScanNames(area.data(), static_cast<int32_t>(area.size()), [&](std::string_view name) {
        joined.append(name);
        joined.push_back('\0');
    });
    if (joined.empty())
        return {};
    joined.pop_back();
    return QString::fromStdString(DecodeCp932(joined)).split(QChar(u'\0'));
}

} // namespace

TSDIAppForm::TSDIAppForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("SDIAppForm");
    setWindowTitle("KT63UE");
    // The layout is drawn for a Japanese font of 13-pixel characters.
    setFont(JapaneseFixedFont(13));
    CreateContainers();
    CreateSpeedPanel();
    CreateChoiceLists();
    CreateSpinFields();
    CreateLabelsAndFrames();
    CreateRadioGroups();
    CreateStatusBar();
    CreateMenu();
    ConnectEvents();
    SetFocusOrder();
    // The client area below the menu bar is 650 x 450, and the window opens at this place.
    resize(650, 450 + menuBar()->sizeHint().height());
    move(301, 158);
    ReadNameList();
}

TSDIAppForm::~TSDIAppForm() = default;

QString TSDIAppForm::DecodeName(std::string_view bytes)
{
    return QString::fromStdString(DecodeCp932(bytes));
}

void TSDIAppForm::ReadNameList()
{
    const NameListFile list = ReadNameListFile(mNameListPath);
    mNamesAreaSize = list.namesAreaSize;
    mNameListIdentity = list.identity;
    SpinEdit5->SetValue(list.listNumber);
    const QStringList names = DecodeNames(list.namesArea);
    mNameCount = static_cast<int32_t>(names.size());
    ComboBox1->AppendItems(names);
    mNameListPath = list.path;
}

void TSDIAppForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // Only the tool bar and the status bar follow the window; every other control keeps its
    // place, and a smaller window simply hides what lies beyond its edges.
    const int width = ClientArea->width();
    SpeedPanel->setGeometry(0, 0, width, 34);
    StatusBar->setGeometry(0, ClientArea->height() - 22, width, 22);
}

void TSDIAppForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!mShownOnce) {
        mShownOnce = true;
        SpeedPanel->setFocus();
    }
}

} // namespace kt63
