// The window's controls, built from tables of their places, limits and texts.

#include "tsdiappform.h"

#include "recordbinding.h"
#include "tcombobox.h"
#include "tlabel.h"
#include "tradiogroup.h"
#include "tspinedit.h"
#include "ttabcontrol.h"

#include <QFrame>
#include <QTabWidget>

#include <optional>

namespace kt63 {

namespace {

enum class Place { Client, Sheet1, Sheet2, Tabs };

struct SpinRow
{
    TSpinEdit* TSDIAppForm::*field;
    const char* name;
    Place place;
    int left, top, width;
    std::optional<ShownRange> limits; // a selector's own; a value field's are its field's
    int maxLength;
    int32_t initial;
    // What a screen reader says for the field: the headings the user reads over it, from the
    // top, and where two fields share them, which of the two it is. A field under the same
    // words as a list is told apart from it by what it holds.
    const char* heading;
};

// A value field takes the range the field table gives its field, the same table from which
// kt63-table tells what a save would change, so the two cannot disagree.
constexpr std::nullopt_t kFieldRange = std::nullopt;

#define KT63_SPIN(name) &TSDIAppForm::name, #name

// Every spin field is 28 pixels high; equal limits (0 and 0) mean no limit at all.
const SpinRow kSpinRows[] = {
    {KT63_SPIN(SpinEdit1), Place::Client, 0, 104, 57, SpinLimits(1, 1921), 4, 1, "兵器"},
    {KT63_SPIN(SpinEdit2), Place::Client, 0, 272, 57, SpinLimits(0, 1920), 4, 0, "武装"},
    {KT63_SPIN(SpinEdit3), Place::Client, 0, 56, 57, SpinLimits(0, 2800), 4, 0, "兵器リスト 番号"},
    {KT63_SPIN(SpinEdit4), Place::Client, 288, 56, 49, SpinLimits(0, 800), 3, 0, "武装リスト 番号"},
    {KT63_SPIN(SpinEdit7w), Place::Client, 520, 104, 41, kFieldRange, 2, 0, "年"},
    {KT63_SPIN(SpinEdit8w), Place::Client, 520, 152, 41, kFieldRange, 2, 1, "月"},
    {KT63_SPIN(SpinEdit5), Place::Client, 0, 397, 57, SpinLimits(0, 561), 4, 0, "ﾘｽﾄNo."},
    {KT63_SPIN(SpinEdit9w), Place::Client, 592, 216, 57, kFieldRange, 4, 0, "改良１"},
    {KT63_SPIN(SpinEdit10w), Place::Client, 592, 262, 57, kFieldRange, 4, 0, "改良２"},
    {KT63_SPIN(SpinEdit11w), Place::Client, 592, 307, 57, kFieldRange, 4, 0, "改良３"},
    {KT63_SPIN(SpinEdit12w), Place::Client, 592, 352, 57, kFieldRange, 4, 0, "改良４"},
    {KT63_SPIN(SpinEdit13w), Place::Client, 592, 397, 57, kFieldRange, 4, 0, "改良５"},
    {KT63_SPIN(SpinEdit22w), Place::Client, 248, 211, 49, kFieldRange, 3, 0, "重量"},
    {KT63_SPIN(SpinEdit20a), Place::Client, 16, 208, 41, kFieldRange, 2, 0, "装備種"},
    {KT63_SPIN(SpinEdit23w), Place::Client, 8, 152, 49, kFieldRange, 3, 0, "兵種"},
    {KT63_SPIN(SpinEdit0w), Place::Sheet1, 8, 44, 41, kFieldRange, 2, 0, "生産国"},
    {KT63_SPIN(SpinEdit1w), Place::Sheet1, 56, 44, 49, kFieldRange, 3, 0, "機数"},
    {KT63_SPIN(SpinEdit2w), Place::Sheet1, 120, 44, 41, kFieldRange, 2, 0, "移動能力 速度"},
    {KT63_SPIN(SpinEdit3w), Place::Sheet1, 168, 44, 49, kFieldRange, 3, 0, "移動能力 燃料"},
    {KT63_SPIN(SpinEdit4w), Place::Sheet1, 224, 44, 41, kFieldRange, 2, 0, "防御力 対空"},
    {KT63_SPIN(SpinEdit5w), Place::Sheet1, 272, 44, 41, kFieldRange, 2, 0, "防御力 対地"},
    {KT63_SPIN(SpinEdit6w), Place::Sheet1, 328, 44, 41, kFieldRange, 2, 0, "索敵"},
    {KT63_SPIN(SpinEdit14w), Place::Sheet2, 8, 48, 41, kFieldRange, 2, 0, "兵員"},
    {KT63_SPIN(SpinEdit15w), Place::Sheet2, 48, 48, 41, kFieldRange, 2, 0, "軽砲"},
    {KT63_SPIN(SpinEdit16w), Place::Sheet2, 88, 48, 41, kFieldRange, 2, 0, "重砲"},
    {KT63_SPIN(SpinEdit17w), Place::Sheet2, 136, 48, 41, kFieldRange, 2, 0, "空挺"},
    {KT63_SPIN(SpinEdit18w), Place::Sheet2, 176, 48, 41, kFieldRange, 2, 0, "空輸"},
    {KT63_SPIN(SpinEdit19w), Place::Sheet2, 216, 48, 41, kFieldRange, 2, 0, "輸送"},
    {KT63_SPIN(SpinEdit20w), Place::Sheet2, 256, 48, 41, kFieldRange, 2, 0, "艦載"},
    {KT63_SPIN(SpinEdit21w), Place::Sheet2, 304, 48, 41, kFieldRange, 2, 0, "被搭載"},
    {KT63_SPIN(SpinEdit0a), Place::Tabs, 16, 77, 49, kFieldRange, 3, 0, "武装数"},
    {KT63_SPIN(SpinEdit1a), Place::Tabs, 72, 77, 49, kFieldRange, 3, 0, "攻撃力 対空"},
    {KT63_SPIN(SpinEdit2a), Place::Tabs, 120, 77, 49, kFieldRange, 3, 0, "攻撃力 対甲"},
    {KT63_SPIN(SpinEdit3a), Place::Tabs, 168, 77, 49, kFieldRange, 3, 0, "攻撃力 対人"},
    {KT63_SPIN(SpinEdit4a), Place::Tabs, 216, 77, 49, kFieldRange, 3, 0, "攻撃力 対艦"},
    {KT63_SPIN(SpinEdit5a), Place::Tabs, 264, 77, 49, kFieldRange, 3, 0, "攻撃力 対潜"},
    {KT63_SPIN(SpinEdit6a), Place::Tabs, 320, 77, 49, kFieldRange, 3, 0, "射程 対空 １"},
    {KT63_SPIN(SpinEdit7a), Place::Tabs, 368, 77, 49, kFieldRange, 3, 0, "射程 対空 ２"},
    {KT63_SPIN(SpinEdit8a), Place::Tabs, 416, 77, 49, kFieldRange, 3, 0, "射程 対地 １"},
    {KT63_SPIN(SpinEdit9a), Place::Tabs, 464, 77, 49, kFieldRange, 3, 0, "射程 対地 ２"},
    {KT63_SPIN(SpinEdit21a), Place::Tabs, 456, 105, 65, kFieldRange, 5, 0, "武装種"},
    {KT63_SPIN(SpinEdit10a), Place::Tabs, 16, 149, 41, kFieldRange, 2, 0, "命中"},
    {KT63_SPIN(SpinEdit11a), Place::Tabs, 72, 149, 41, kFieldRange, 2, 0, "優先 対空 １"},
    {KT63_SPIN(SpinEdit12a), Place::Tabs, 120, 149, 41, kFieldRange, 2, 0, "優先 対空 ２"},
    {KT63_SPIN(SpinEdit13a), Place::Tabs, 168, 149, 41, kFieldRange, 2, 0, "優先 対地 １"},
    {KT63_SPIN(SpinEdit14a), Place::Tabs, 216, 149, 41, kFieldRange, 2, 0, "優先 対地 ２"},
    {KT63_SPIN(SpinEdit15a), Place::Tabs, 272, 149, 49, kFieldRange, 3, 0, "弾数"},
    {KT63_SPIN(SpinEdit16a), Place::Tabs, 328, 149, 49, kFieldRange, 3, 0, "価格"},
    {KT63_SPIN(SpinEdit17a), Place::Tabs, 384, 149, 49, kFieldRange, 3, 0, "名称"},
    {KT63_SPIN(SpinEdit18a), Place::Tabs, 432, 149, 49, kFieldRange, 3, 0, "ｼﾙｴｯﾄ"},
    {KT63_SPIN(SpinEdit19a), Place::Tabs, 480, 149, 41, kFieldRange, 2, 0, "特殊"},
};

#undef KT63_SPIN

struct LabelRow
{
    Place place;
    const char* name;
    int left, top, width;
    const char* text;
};

// Labels that head several fields are spread with blanks, so each word stands over its field
// when set on the advance widths the layout was measured in (TLabel).
const LabelRow kLabelRows[] = {
    {Place::Client, "Label24", 0, 40, 370,
     "兵器リスト                                   武装リスト"},
    {Place::Client, "Label3", 0, 88, 32, "兵器"},
    {Place::Client, "Label17", 8, 136, 32, "兵種"},
    {Place::Client, "Label19", 8, 192, 48, "装備種"},
    {Place::Client, "Label16", 248, 195, 32, "重量"},
    {Place::Client, "Label12", 0, 256, 32, "武装"},
    {Place::Client, "Label25", 0, 381, 49, "ﾘｽﾄNo."},
    {Place::Client, "Label21", 520, 88, 16, "年"},
    {Place::Client, "Label23", 520, 136, 16, "月"},
    {Place::Client, "Label5", 592, 200, 48, "改良１"},
    {Place::Client, "Label8", 592, 246, 48, "改良２"},
    {Place::Client, "Label11", 592, 291, 48, "改良３"},
    {Place::Client, "Label13", 592, 336, 48, "改良４"},
    {Place::Client, "Label10", 592, 381, 48, "改良５"},
    {Place::Sheet1, "Label6", 136, 7, 64, "移動能力"},
    {Place::Sheet1, "Label9", 240, 7, 48, "防御力"},
    {Place::Sheet1, "Label15", 8, 28, 48, "生産国"},
    {Place::Sheet1, "Label1", 64, 28, 32, "機数"},
    {Place::Sheet1, "Label2", 120, 28, 82, "速度   燃料"},
    {Place::Sheet1, "Label4", 224, 28, 82, "対空   対地"},
    {Place::Sheet1, "Label7", 328, 28, 32, "索敵"},
    {Place::Sheet2, "Label14", 8, 32, 344, "兵員 軽砲 重砲   空挺 空輸  輸送 艦載   被搭載"},
    {Place::Tabs, "Label27", 111, 39, 162, "攻         撃          力"},
    {Place::Tabs, "Label29", 355, 39, 110, "射             程"},
    {Place::Tabs, "Label34", 16, 61, 48, "武装数"},
    {Place::Tabs, "Label28", 71, 61, 226, "対空   対甲  対人   対艦   対潜"},
    {Place::Tabs, "Label30", 339, 61, 142, "対   空        対  地"},
    {Place::Tabs, "Label18", 408, 109, 48, "武装種"},
    {Place::Tabs, "Label32", 101, 111, 116, "優              先"},
    {Place::Tabs, "Label31", 16, 133, 32, "命中"},
    {Place::Tabs, "Label33", 91, 133, 142, "対   空        対  地"},
    {Place::Tabs, "Label35", 272, 133, 244, "弾数    価格    名称  ｼﾙｴｯﾄ  特殊"},
};

struct FrameRow
{
    Place place;
    const char* name;
    int left, top, width, height;
};

const FrameRow kFrameRows[] = {
    {Place::Sheet1, "Bevel1", 0, -1, 377, 81},   {Place::Sheet1, "Bevel2", 112, -1, 105, 81},
    {Place::Sheet1, "Bevel3", 216, -1, 105, 81}, {Place::Sheet2, "Bevel4", 0, 0, 377, 81},
    {Place::Tabs, "Bevel9", 8, 32, 513, 145},    {Place::Tabs, "Bevel10", 64, 32, 249, 73},
    {Place::Tabs, "Bevel11", 8, 104, 57, 73},    {Place::Tabs, "Bevel8", 264, 104, 257, 73},
};

struct RadioRow
{
    TRadioGroup* TSDIAppForm::*group;
    const char* name;
    int left, top, width, height;
    const char* caption;
    int columns;
    QStringList items;
    int itemIndex;
};

const RadioRow kRadioRows[] = {
    {&TSDIAppForm::RadioGroup1,
     "RadioGroup1",
     448,
     96,
     65,
     89,
     "登場",
     1,
     {"通常", "強制", "改良"},
     -1},
    {&TSDIAppForm::RadioGroup2,
     "RadioGroup2",
     568,
     64,
     81,
     121,
     "戦域",
     1,
     {"なし", "ｿﾋﾞｴﾄ", "ｲｷﾞﾘｽ", "ｱﾌﾘｶ", "ﾄﾞｲﾂ"},
     -1},
    {&TSDIAppForm::RadioGroup3,
     "RadioGroup3",
     56,
     200,
     185,
     41,
     "装備",
     6,
     {"1", "2", "3", "4", "5", "6"},
     0},
    {&TSDIAppForm::RadioGroup4,
     "RadioGroup4",
     312,
     195,
     273,
     41,
     "Ｌｖ",
     9,
     {"1", "2", "3", "4", "5", "6", "7", "8", "9"},
     -1},
};

} // namespace

QWidget* TSDIAppForm::ParentFor(int place) const
{
    switch (static_cast<Place>(place)) {
    case Place::Sheet1:
        return TabSheet1;
    case Place::Sheet2:
        return TabSheet2;
    case Place::Tabs:
        return TabControl1;
    case Place::Client:
        break;
    }
    return ClientArea;
}

void TSDIAppForm::CreateSpinFields()
{
    for (const SpinRow& row : kSpinRows) {
        auto* field = new TSpinEdit(ParentFor(static_cast<int>(row.place)));
        field->setObjectName(row.name);
        field->setGeometry(row.left, row.top, row.width, 28);
        const ShownRange limits = row.limits ? *row.limits : ShownRangeOf(row.field).value();
        field->SetMinValue(limits.minValue);
        field->SetMaxValue(limits.maxValue);
        field->SetMaxLength(row.maxLength);
        field->setAccessibleName(QString::fromUtf8(row.heading));
        // The limits first, so that the initial value is brought within them.
        field->SetValue(row.initial);
        field->setAttribute(Qt::WA_InputMethodEnabled, false);
        this->*row.field = field;
    }
}

void TSDIAppForm::CreateLabelsAndFrames()
{
    for (const LabelRow& row : kLabelRows) {
        auto* label =
            new TLabel(QString::fromUtf8(row.text), ParentFor(static_cast<int>(row.place)));
        label->setObjectName(row.name);
        label->setGeometry(row.left, row.top, row.width, 18);
    }
    for (const FrameRow& row : kFrameRows) {
        auto* frame = new QFrame(ParentFor(static_cast<int>(row.place)));
        frame->setObjectName(row.name);
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        frame->setGeometry(row.left, row.top, row.width, row.height);
        frame->lower(); // a frame is drawn under the fields it surrounds
    }
}

void TSDIAppForm::CreateRadioGroups()
{
    for (const RadioRow& row : kRadioRows) {
        auto* group = new TRadioGroup(ClientArea);
        group->setObjectName(row.name);
        group->setGeometry(row.left, row.top, row.width, row.height);
        group->SetCaption(QString::fromUtf8(row.caption));
        group->SetColumns(row.columns);
        group->SetItems(row.items);
        group->SetItemIndex(row.itemIndex);
        this->*row.group = group;
    }
}

} // namespace kt63
