#include "calendar/EraNames.h"
#include "calendar/EraRows.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

struct FieldCase {
    std::string text;
    char delimiter;
    int n;
    std::string expected;
};

TEST(GetDelimitedField, PicksTheNthTrimmedPiece)
{
    const FieldCase cases[] = {
        {"a,b,c", ',', 1, "a"},
        {"a,b,c", ',', 3, "c"},
        {"a,b,c", ',', 4, ""},  // fewer pieces
        {"a,b,c", ',', 0, ""},  // fields count from 1
        {"a,,c", ',', 2, ""},   // an empty piece is a field
        {"a,,c", ',', 3, "c"},
        {",x", ',', 1, ""},
        {"x,", ',', 2, ""},
        {"x,", ',', 3, ""},
        {"", ',', 1, ""},
        {" \t a b \r\n,\x01z\x7f", ',', 1, "a b"},  // blanks and control characters go, inner blanks stay
        {" \t a b \r\n,\x01z\x7f", ',', 2, "z"},
        {"1911;37;0", ';', 2, "37"},
        {"孛儿只斤·忽必烈,至元", ',', 1, "孛儿只斤·忽必烈"},
        {"x, 赵(上“日”下“正”) ,y", ',', 2, "赵(上“日”下“正”)"},  // multi-byte text is never trimmed
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetDelimitedField(c.text, c.delimiter, c.n), c.expected) << "'" << c.text << "' #" << c.n;
}

struct EraCase {
    int year;
    std::string expected;
};

TEST(GetEraText, NamesKnownYears)
{
    const EraCase cases[] = {
        {1875, "[清]德宗 爱新觉罗载湉 光绪元年"},
        {1900, "[清]德宗 爱新觉罗载湉 光绪26年"},
        {1908, "[清]德宗 爱新觉罗载湉 光绪34年"},
        {1909, "[清] 爱新觉罗溥仪 宣统元年"},  // empty title keeps its separator
        {1910, "[清] 爱新觉罗溥仪 宣统2年"},
        {1911, "[清] 爱新觉罗溥仪 宣统3年"},
        {1912, "[近、现代]中华民国  民国元年"},  // empty personal name: two spaces
        {1937, "[近、现代]中华民国  民国26年"},
        {1948, "[近、现代]中华民国  民国37年"},
        {-2069, "[夏]禹  禹元年"},
        {-2068, "[夏]禹  禹2年"},
        {587, "[隋]文帝 杨坚 开皇7年"},  // after 陈's last row the 隋 row takes over
        {600, "[隋]文帝 杨坚 开皇20年"},
        {586, "[南朝/陈]后主 陈叔宝 至德4年"},
        // 南宋's last row is followed by an earlier start; 至元 began in 1264,
        // seven years before its row of 1271.
        {1278, "[元]世祖 孛儿只斤·忽必烈 至元15年"},
        {1279, "[元]世祖 孛儿只斤·忽必烈 至元16年"},
        {1285, "[元]世祖 孛儿只斤·忽必烈 至元22年"},
        {1294, "[元]世祖 孛儿只斤·忽必烈 至元31年"},
        {1295, "[元]成宗 孛儿只斤·铁穆耳 元贞元年"},
        {1277, "[南宋]端宗 赵昰 景炎2年"},
        {1253, "[南宋]理宗 赵昀 宝祐元年"},
        {1, "[西汉]平帝 刘衎 元始元年"},
        {0, "[西汉]哀帝 刘欣 元寿2年"},  // astronomical year 0 is 1 BC
        {-1, "[西汉]哀帝 刘欣 元寿元年"},
        {8, "[西汉]孺子婴 王莽摄政 初始元年"},
        {9, "[新] 王莽 始建国元年"},
        {23, "[西汉]更始帝 刘玄 更始元年"},
        {465, "[南朝/宋]明帝 刘彧 泰始元年"},  // of rows sharing a start year the last one wins
        {1328, "[元]文宗 孛儿只斤·图帖睦尔 天历元年"},
        {1368, "[明]太祖 朱元璋 洪武元年"},
        {1644, "[清]世祖 爱新觉罗福临 顺治元年"},
        {1662, "[清]圣祖 爱新觉罗玄烨 康熙元年"},
        {1722, "[清]圣祖 爱新觉罗玄烨 康熙61年"},
        // Eras carried on by the next ruler go on counting.
        {904, "[唐]昭宗 李晔 天佑元年"},
        {905, "[唐]哀帝 李柷 天佑2年"},
        {907, "[五代/梁]太祖 朱温 开平元年"},
        {913, "[五代/梁]末帝 朱友贞 乾化3年"},
        {914, "[五代/梁]末帝 朱友贞 乾化4年"},
        {942, "[五代/晋]出帝 石重贵 天福7年"},
        {943, "[五代/晋]出帝 石重贵 天福8年"},
        {959, "[五代/周]恭帝 柴宗训 显德6年"},
        // The eras that follow 太熙, 永安, 建武 and 陈's founding.
        {290, "[西晋]武帝 司马炎 太熙元年"},
        {291, "[西晋]惠帝 司马衷 元康元年"},
        {299, "[西晋]惠帝 司马衷 元康9年"},
        {300, "[西晋]惠帝 司马衷 永康元年"},
        {304, "[西晋]惠帝 司马衷 永安元年"},
        {305, "[西晋]惠帝 司马衷 永兴2年"},
        {306, "[西晋]惠帝 司马衷 光熙元年"},
        {498, "[南朝/齐]明帝 萧鸾 永泰元年"},
        {499, "[南朝/齐]东昏侯 萧宝卷 永元元年"},
        {501, "[南朝/齐]和帝 萧宝融 中兴元年"},
        {557, "[南朝/陈]武帝 陈霸先 永定元年"},
        {559, "[南朝/陈]武帝 陈霸先 永定3年"},
        {1949, ""},
        {2024, ""},
        {-2070, ""},
        {-100000, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetEraText(c.year), c.expected) << c.year;
}

TEST(GetEraText, EveryYearBefore1949IsNamedAndTheParallelCourtsNeverAre)
{
    for (int year = -2069; year <= 1948; ++year) {
        const std::string text = GetEraText(year);
        ASSERT_FALSE(text.empty()) << year;
        EXPECT_EQ(text.rfind("[北朝/", 0), std::string::npos) << year << " " << text;
        EXPECT_EQ(text.rfind("[南朝/后梁]", 0), std::string::npos) << year << " " << text;
        EXPECT_EQ(text.rfind("[当代]", 0), std::string::npos) << year << " " << text;
        EXPECT_EQ(text.substr(text.size() - 3), "年") << year;
    }
}

TEST(EraRows, HasSevenUntrimmedFieldsPerRow)
{
    ASSERT_EQ(EraRowCount, 531);
    int nonZeroExtra = 0;
    for (int i = 0; i < EraRowCount; ++i) {
        const std::string row = EraRows[i];
        std::vector<std::string> pieces(1);
        for (char c : row) {
            if (c == ',')
                pieces.emplace_back();
            else
                pieces.back() += c;
        }
        ASSERT_EQ(pieces.size(), 7u) << "row " << i << ": " << row;
        for (int f = 1; f <= 7; ++f)
            EXPECT_EQ(GetDelimitedField(row, ',', f), pieces[f - 1]) << "row " << i << " field " << f;
        EXPECT_FALSE(pieces[3].empty()) << "row " << i;  // dynasty
        EXPECT_FALSE(pieces[6].empty()) << "row " << i;  // era name
        for (int f : {0, 1, 2})
            EXPECT_NO_THROW((void)std::stoi(pieces[f])) << "row " << i;
        if (pieces[2] != "0")
            ++nonZeroExtra;
    }
    EXPECT_EQ(nonZeroExtra, 7);
}

// The compiled-in table is the data file, row for row.
TEST(EraRows, AreTheRowsOfTheDataFile)
{
    std::ifstream file(QN_ERA_ROWS_CSV, std::ios::binary);
    ASSERT_TRUE(file) << QN_ERA_ROWS_CSV;
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(EraRowCount));
    for (int i = 0; i < EraRowCount; ++i)
        EXPECT_EQ(EraRows[i], lines[static_cast<std::size_t>(i)]) << "row " << i;
}

// The era names of every block in row order, the block's first and last start
// year, and start years that never decrease inside a block.
TEST(EraRows, BlocksHoldTheirEraNamesInOrder)
{
    struct Block {
        int firstRow, lastRow;
        const char* dynasty;
        int firstStart, lastStart;
        const char* eraNames;
    };
    const Block blocks[] = {
        {0, 18, "夏", -2069, -1652, "禹 启 太康 仲康 相 后羿 寒浞 少康 杼 槐 芒 泄 不降 扃 廑 孔甲 皋 发 桀"},
        {19, 49, "商", -1599, -1074,
         "商汤 商代王 外丙 仲壬 太甲 沃丁 太庚 小甲 雍己 太戊 仲丁 外壬 河亶甲 祖乙 祖辛 沃甲 祖丁 南庚 阳甲 盘庚 小辛 "
         "小乙 武丁 祖庚 祖甲 廪辛 庚丁 武乙 文丁 帝乙 帝辛"},
        {50, 62, "西周", -1045, -780, "武王 成王 康王 昭王 穆王 共王 懿王 孝王 夷王 厉王 共和 宣王 幽王"},
        {63, 86, "东周", -769, -313,
         "平王 桓王 庄王 釐王 惠王 襄王 顷王 匡王 定王 简王 灵王 景王 悼王 敬王 元王 贞定王 哀王-思王 考王 威烈王 安王 "
         "烈王 显王 慎靓王 赧王"},
        {87, 89, "战国-秦", -305, -248, "昭襄王 孝文王 庄襄王"},
        {90, 92, "秦", -245, -208, "嬴政 始皇 二世"},
        {93, 137, "西汉", -205, 8,
         "高帝 惠帝 高后 文帝 后元 景帝 中元 后元 建元 元光 元朔 元狩 元鼎 元封 太初 天汉 太始 征和 后元 始元 元凤 "
         "元平 本始 地节 元康 神爵 五凤 甘露 黄龙 初元 永光 建昭 竟宁 建始 河平 阳朔 鸿嘉 永始 元延 绥和 建平 元寿 "
         "元始 居摄 初始"},
        {138, 140, "新", 9, 20, "始建国 天凤 地皇"},
        {141, 141, "西汉", 23, 23, "更始"},
        {142, 176, "东汉", 25, 196,
         "建武 建武中元 永平 建初 元和 章和 永元 元兴 延平 永初 元初 永宁 建光 延光 永建 阳嘉 永和 汉安 建康 永嘉 本初 "
         "建和 和平 元嘉 永兴 永寿 延熹 永康 建宁 熹平 光和 中平 初平 兴平 建安"},
        {177, 186, "三国-魏", 220, 264, "黄初 太和 青龙 景初 正始 嘉平 正元 甘露 景元 咸熙"},
        {187, 199, "西晋", 265, 313, "泰始 咸宁 太康 太熙 元康 永康 永宁 太安 永安 永兴 光熙 永嘉 建兴"},
        {200, 218, "东晋", 317, 419,
         "建武 大兴 永昌 太宁 咸和 咸康 建元 永和 升平 隆和 兴宁 太和 咸安 甯康 太元 隆安 元兴 义熙 元熙"},
        {219, 229, "南朝/宋", 420, 477, "永初 景平 元嘉 孝建 大明 永光 景和 泰始 泰豫 元徽 升明"},
        {230, 237, "南朝/齐", 479, 501, "建元 永明 隆昌 延兴 建武 永泰 永元 中兴"},
        {238, 250, "南朝/梁", 502, 556, "天监 普通 大通 中大通 大同 中大同 太清 大宝 天正 承圣 天成 绍泰 太平"},
        {251, 257, "南朝/陈", 557, 587, "永定 天嘉 天康 光大 太建 至德 祯明"},
        {258, 260, "南朝/后梁", 555, 586, "大定 天保 广运"},
        {261, 300, "北朝/北魏", 386, 532,
         "登国 皇始 天兴 天赐 永兴 神瑞 泰常 始光 神麚 延和 太延 太平真君 正平 承平 兴安 兴光 太安 和平 天安 皇兴 延兴 "
         "承明 太和 景明 正始 永平 延昌 熙平 神龟 正光 孝昌 武泰 建义 永安 建明 普泰 中兴 太昌 永兴 永熙"},
        {301, 304, "北朝/东魏", 534, 543, "天平 元象 兴和 武定"},
        {305, 307, "北朝/西魏", 535, 554, "大统 大统 大统"},
        {308, 317, "北朝/北齐", 550, 577, "天保 乾明 皇建 太宁 河清 天统 武平 隆化 德昌 承光"},
        {318, 327, "北朝/北周", 557, 581, "空 空 武成 保定 天和 建德 宣政 大成 大象 大定"},
        {328, 331, "隋", 581, 617, "开皇 仁寿 大业 义宁"},
        {332, 349, "唐", 618, 684,
         "武德 贞观 永徽 显庆 龙朔 麟德 乾封 总章 咸亨 上元 仪凤 调露 永隆 开耀 永淳 弘道 嗣圣 文明"},
        {350, 367, "武周", 684, 705,
         "光宅 垂拱 永昌 载初 天授 如意 长寿 延载 证圣 天册万岁 万岁登封 万岁通天 神功 圣历 久视 大足 长安 神龙"},
        {368, 408, "唐", 705, 905,
         "神龙 景龙 唐隆 景云 太极 延和 先天 开元 天宝 至德 乾元 上元 宝应 广德 永泰 大历 建中 兴元 贞元 永贞 元和 "
         "长庆 宝历 大和 开成 会昌 大中 咸通 乾符 广明 中和 光启 文德 龙纪 大顺 景福 乾宁 光化 天复 天佑 天佑"},
        {409, 414, "五代/梁", 907, 921, "开平 乾化 凤历 乾化 贞明 龙德"},
        {415, 419, "五代/唐", 923, 934, "同光 天成 长兴 应顺 清泰"},
        {420, 422, "五代/晋", 936, 944, "天福 天福 开运"},
        {423, 425, "五代/汉", 947, 948, "天福 乾祐 乾祐"},
        {426, 429, "五代/周", 951, 959, "广顺 显德 显德 显德"},
        {430, 464, "北宋", 960, 1126,
         "建隆 乾德 开宝 太平兴国 雍熙 端拱 淳化 至道 咸平 景德 大中祥符 天禧 乾兴 天圣 明道 景祐 宝元 康定 庆历 皇祐 "
         "至和 嘉祐 治平 熙宁 元丰 元祐 绍圣 元符 建中靖国 崇宁 大观 政和 重和 宣和 靖康"},
        {465, 486, "南宋", 1127, 1278,
         "建炎 绍兴 隆兴 乾道 淳熙 绍熙 庆元 嘉泰 开禧 嘉定 宝庆 绍定 端平 嘉熙 淳祐 宝祐 开庆 景定 咸淳 德祐 景炎 "
         "祥兴"},
        {487, 501, "元", 1271, 1341, "至元 元贞 大德 至大 皇庆 延祐 至治 泰定 致和 天顺 天历 至顺 元统 至元 至正"},
        {502, 518, "明", 1368, 1628,
         "洪武 建文 永乐 洪熙 宣德 正统 景泰 天顺 成化 弘治 正德 嘉靖 隆庆 万历 泰昌 天启 崇祯"},
        {519, 528, "清", 1644, 1909, "顺治 康熙 雍正 乾隆 嘉庆 道光 咸丰 同治 光绪 宣统"},
        {529, 529, "近、现代", 1912, 1912, "民国"},
        {530, 530, "当代", 1949, 1949, "公历"},
    };
    int expectedRow = 0;
    for (const auto& b : blocks) {
        SCOPED_TRACE(b.dynasty);
        ASSERT_EQ(b.firstRow, expectedRow);
        expectedRow = b.lastRow + 1;
        std::string names;
        int previousStart = b.firstStart;
        for (int i = b.firstRow; i <= b.lastRow; ++i) {
            const std::string row = EraRows[i];
            EXPECT_EQ(GetDelimitedField(row, ',', 4), b.dynasty) << "row " << i;
            const int start = std::stoi(GetDelimitedField(row, ',', 1));
            EXPECT_GE(start, previousStart) << "row " << i;
            previousStart = start;
            names += (names.empty() ? "" : " ") + GetDelimitedField(row, ',', 7);
        }
        EXPECT_EQ(std::stoi(GetDelimitedField(EraRows[b.firstRow], ',', 1)), b.firstStart);
        EXPECT_EQ(std::stoi(GetDelimitedField(EraRows[b.lastRow], ',', 1)), b.lastStart);
        EXPECT_EQ(names, b.eraNames);
    }
    EXPECT_EQ(expectedRow, EraRowCount);
}

TEST(EraRows, TellingRowsStandWhereTheyBelong)
{
    struct RowCase {
        int index;
        const char* row;
    };
    const RowCase cases[] = {
        {0, "-2069,45,0,夏,禹,,禹"},
        {134, "-1,2,0,西汉,哀帝,刘欣,元寿"},
        {135, "1,5,0,西汉,平帝,刘衎,元始"},
        {138, "9,5,0,新,,王莽,始建国"},
        {191, "291,9,0,西晋,惠帝,司马衷,元康"},
        {196, "305,1,1,西晋,惠帝,司马衷,永兴"},
        {257, "587,3,0,南朝/陈,后主,陈叔宝,祯明"},
        {258, "555,8,0,南朝/后梁,宣帝,萧詧,大定"},
        {328, "581,20,0,隋,文帝,杨坚,开皇"},
        {486, "1278,2,0,南宋,帝昺,赵昺,祥兴"},
        {487, "1271,24,7,元,世祖,孛儿只斤·忽必烈,至元"},
        {528, "1909,3,0,清,,爱新觉罗溥仪,宣统"},
        {529, "1912,37,0,近、现代,中华民国,,民国"},
        {530, "1949,9999,1948,当代,中国,,公历"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(EraRows[c.index], c.row) << "row " << c.index;
}

}  // namespace
