#include "samplenames.h"

#include "samplerandom.h"

#include "cp932.h"

namespace kt63::sample {

namespace {

QByteArray ToCodePage932(const QString& text)
{
    return QByteArray::fromStdString(EncodeCp932(text.toStdString()));
}

template <size_t N> QString Pick(const char* const (&words)[N], SampleRandom& random)
{
    return QString::fromUtf8(words[random.below(N)]);
}

const char* const kCalibres[] = {"7.7mm", "12.7mm", "20mm",  "25mm",  "37mm",   "75mm",
                                 "88mm",  "105mm",  "127mm", "150mm", "40口径", "15cm"};
const char* const kArms[] = {"機関砲",   "高射砲", "魚雷",  "爆弾",   "噴進弾", "榴弾砲",
                             "対戦車砲", "機銃",   "爆雷",  "ﾛｹｯﾄ弾", "ﾊﾞｽﾞｰｶ", "ミサイル",
                             "ろけっと", "Mk.II",  "ｶﾉﾝ砲", "連装砲"};
const char* const kMarks[] = {"", "改", "甲", "乙", "ｶｲ", "後期型", "試製", "B"};
const char* const kLongNames[] = {"試製九十九式二十粍固定機関砲改", "ｵｰﾄﾏﾁｯｸ･ﾗｲﾌﾙ･ｸﾞﾚﾈｰﾄﾞ",
                                  "長砲身七十五粍戦車砲後期生産型", "AntiAircraftAutoCannon Mk.IV"};
const char* const kClasses[] = {"戦闘機", "爆撃機", "戦車", "駆逐艦", "潜水艦",  "歩兵",
                                "ﾀﾝｸ",    "ｼﾞｪｯﾄ",  "重巡", "空母",   "Fighter", "ろ号"};
const char* const kLeading[] = {"（未使用）", "----", "ﾀﾞﾐｰ"};

QString ArmamentName(SampleRandom& random)
{
    if (random.chance(6))
        return Pick(kLongNames, random);
    return Pick(kCalibres, random) + Pick(kArms, random) + Pick(kMarks, random);
}

} // namespace

QByteArray SampleArmamentNameArea(int32_t areaSize, SampleRandom& random)
{
    QByteArray area;
    for (;;) {
        const QByteArray name = ToCodePage932(ArmamentName(random));
        const int gap = random.chance(10) ? 2 : 1; // now and then two zero bytes
        if (area.size() + gap + name.size() > areaSize)
            break;
        area += QByteArray(gap, '\0') + name;
    }
    area.resize(areaSize, '\0');
    return area;
}

QByteArray SampleWeaponName(int32_t weapon, SampleRandom& random)
{
    const QString name = QString::number(weapon).rightJustified(4, u'0') + u' ' +
                         Pick(kClasses, random) + Pick(kMarks, random);
    return ToCodePage932(name).left(24);
}

QList<QByteArray> SampleLeadingNames()
{
    QList<QByteArray> names;
    for (const char* name : kLeading)
        names.append(ToCodePage932(QString::fromUtf8(name)));
    return names;
}

} // namespace kt63::sample
