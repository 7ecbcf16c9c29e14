// The built-in formula templates the editor inserts by number (each one row of markup).  Symbol
// font characters are written as escapes.
#include "formula/formula_templates.h"

static const char16_t* const kTemplates[HX_FORMULA_TEMPLATE_COUNT] = {
    // 0
    u"<l><e:name=Times New Roman,cset=0,b=1,i=0>Δ</e><e:name=Times New Roman,cset=0,b=1,i=1>ABC<"
    u"/e></l>",
    // 1
    u"<l><e:name=微软雅黑,cset=134,b=1,i=1,u=0>▱</e><e:name=Times New Roman,cset=0,b=1,i=1,u=0>ABCD<"
    u"/e></l>",
    // 2
    u"<l><e:b=1>正方体</e><e:name=Times New Roman,cset=0,b=1,i=1>ABCD</e><e:name=Times New Roman,cs"
    u"et=0,b=1>−</e><_:name=Times New Roman,cset=0,b=1,i=1><#><l><e>A</e></l></#><#:i=0><l><e>1<"
    u"/e></l></#></_><_:name=Times New Roman,cset=0,b=1,i=1><#><l><e>B</e></l></#><#:i=0><l><e>1"
    u"</e></l></#></_><_:name=Times New Roman,cset=0,b=1,i=1><#><l><e>C</e></l></#><#:i=0><l><e>"
    u"1</e></l></#></_><_:name=Times New Roman,cset=0,b=1,i=1><#><l><e>D</e></l></#><#:i=0><l><e"
    u">1</e></l></#></_></l>",
    // 3
    u"<l><^:name=Times New Roman,cset=0,b=1,i=1><#><l><e>c</e></l></#><#:i=0><l><e>2</e></l></#>"
    u"</^><e:name=Times New Roman,cset=0,b=1>=</e><^:name=Times New Roman,cset=0,b=1,i=1><#><l><"
    u"e>a</e></l></#><#:i=0><l><e>2</e></l></#></^><e:name=Times New Roman,cset=0,b=1>+</e><^:na"
    u"me=Times New Roman,cset=0,b=1,i=1><#><l><e>b</e></l></#><#:i=0><l><e>2</e></l></#></^></l>",
    // 4
    u"<l><e:name=Times New Roman,cset=0,b=1,i=1,u=0>y</e><e:name=Times New Roman,cset=0,b=1>=</e"
    u"><e:name=Times New Roman,cset=0,b=1,i=1>a</e><^:name=Times New Roman,cset=0,b=1,i=1><#><l>"
    u"<e>x</e></l></#><#:i=0><l><e>2</e></l></#></^><e:name=Times New Roman,cset=0,b=1>+</e><e:n"
    u"ame=Times New Roman,cset=0,b=1,i=1>bx</e><e:name=Times New Roman,cset=0,b=1>+</e><e:name=T"
    u"imes New Roman,cset=0,b=1,i=1,u=0>c</e></l>",
    // 5
    u"<l><e:name=Times New Roman,cset=0,b=1,i=1>x</e><e:name=Times New Roman,cset=0,b=1>=</e><f:"
    u"name=Times New Roman,cset=0,b=1><#><l><e>−</e><e:i=1>b</e><e>±</e><r><#><l><^><#:i=1><l><e"
    u">b</e></l></#><#><l><e>2</e></l></#></^><e>−4</e><e:i=1>ac</e></l></#></r></l></#><#><l><e"
    u">2</e><e:i=1>a</e></l></#></f></l>",
    // 6
    u"<l><b:name=Times New Roman,cset=0,b=1,i=1><#><l><e>a</e><e:i=0>∥</e><e>b</e></l><l><e>b</e"
    u"><e:i=0>∥</e><e>c</e></l></#> \uF07D</b><e:name=Times New Roman,cset=0,b=1>⇒</e><e:name=Ti"
    u"mes New Roman,cset=0,b=1,i=1,u=0>a</e><e:name=Times New Roman,cset=0,b=1,u=0>∥</e><e:name="
    u"Times New Roman,cset=0,b=1,i=1,u=0>c</e></l>",
    // 7
    u"<l><e:name=Times New Roman,cset=0,b=1>sin60°=</e><f:name=Times New Roman,cset=0,b=1><#><l>"
    u"<r><#><l><e>3</e></l></#></r></l></#><#><l><e>2</e></l></#></f></l>",
    // 8
    u"<l><f:name=Times New Roman,cset=0,b=1><#><l><^><#:i=1><l><e>x</e></l></#><#><l><e>2</e></l"
    u"></#></^></l></#><#><l><^><#:i=1><l><e>a</e></l></#><#><l><e>2</e></l></#></^></l></#></f>"
    u"<e:name=Times New Roman,cset=0,b=1>+</e><f:name=Times New Roman,cset=0,b=1><#><l><^><#:i=1"
    u"><l><e>y</e></l></#><#><l><e>2</e></l></#></^></l></#><#><l><^><#:i=1><l><e>b</e></l></#><"
    u"#><l><e>2</e></l></#></^></l></#></f><e:name=Times New Roman,cset=0,b=1>=1 (</e><e:name=Ti"
    u"mes New Roman,cset=0,b=1,i=1>a</e><e:name=Times New Roman,cset=0,b=1>></e><e:name=Times Ne"
    u"w Roman,cset=0,b=1,i=1>b</e><e:name=Times New Roman,cset=0,b=1>>0)</e></l>",
    // 9
    u"<l><e:name=Times New Roman,cset=0,b=1>{</e><e:name=Times New Roman,cset=0,b=1,i=1>β</e><e:"
    u"name=Times New Roman,cset=0,b=1>|</e><e:name=Times New Roman,cset=0,b=1,i=1>β</e><e:name=T"
    u"imes New Roman,cset=0,b=1>=2</e><e:name=Times New Roman,cset=0,b=1,i=1>kπ</e><e:name=Times"
    u" New Roman,cset=0,b=1>+</e><e:name=Times New Roman,cset=0,b=1,i=1>α</e><e:name=Times New R"
    u"oman,cset=0,b=1>,</e><e:name=Times New Roman,cset=0,b=1,i=1>k</e><e:name=Times New Roman,c"
    u"set=0,b=1>∈</e><e:name=Times New Roman,cset=0,b=1,i=1>Z</e><e:name=Times New Roman,cset=0,"
    u"b=1>}</e></l>",
    // 10
    u"<l><e:name=Times New Roman,cset=0,b=1,i=1>y</e><e:name=Times New Roman,cset=0,b=1>=</e><e:"
    u"name=Times New Roman,cset=0,b=1,i=1>a</e><e:name=Times New Roman,cset=0,b=1>sin</e><e:name"
    u"=Times New Roman,cset=0,b=1>(</e><e:name=Times New Roman,cset=0,b=1,i=1>ωx</e><e:name=Time"
    u"s New Roman,cset=0,b=1>+</e><e:name=Times New Roman,cset=0,b=1,i=1>φ</e><e:name=Times New "
    u"Roman,cset=0,b=1>)</e></l>",
    // 11
    u"<l><f:name=Times New Roman,cset=0,b=1><#:i=1><l><e>a</e></l></#><#><l><e>sin</e><e:i=1>A</"
    u"e></l></#></f><e:name=Times New Roman,cset=0,b=1>=</e><f:name=Times New Roman,cset=0,b=1><"
    u"#:i=1><l><e>b</e></l></#><#><l><e>sin</e><e:i=1>B</e></l></#></f><e:name=Times New Roman,c"
    u"set=0,b=1>=</e><f:name=Times New Roman,cset=0,b=1><#:i=1><l><e>c</e></l></#><#><l><e>sin</"
    u"e><e:i=1>C</e></l></#></f><e:name=Times New Roman,cset=0,b=1>=2</e><e:name=Times New Roman"
    u",cset=0,b=1,i=1>R</e></l>",
    // 12
    u"<l><e:name=Times New Roman,cset=0,b=1>cos</e><b:name=Times New Roman,cset=0,b=1><#><l><v><"
    u"#:i=1><l><e>AB</e></l></#></v><e>,</e><v><#:i=1><l><e>AC</e></l></#></v></l></#>\uF0E1\uF0F1"
    u"</b></l>",
    // 13
    u"<l><e:name=Times New Roman,cset=0,b=1,i=0,u=0>cos</e><b:name=Times New Roman,cset=0,b=1><#"
    u"><l><v:name=Times New Roman,cset=0,b=1><#:i=1><l><e>a</e></l></#></v><e:name=Times New Rom"
    u"an,cset=0,b=1>,</e><v:name=Times New Roman,cset=0,b=1><#:i=1><l><e>b</e></l></#></v></l></"
    u"#>\uF0E1\uF0F1</b><e:name=Times New Roman,cset=0,b=1>=</e><f:name=Times New Roman,cset=0,b"
    u"=1><#><l><v><#:i=1><l><e>a</e></l></#></v><e>·</e><v><#:i=1><l><e>b</e></l></#></v></l></#"
    u"><#><l><b><#><l><v><#:i=1><l><e>a</e></l></#></v></l></#>\uF07C\uF07C</b><e>·</e><b><#><l>"
    u"<v><#:i=1><l><e>b</e></l></#></v></l></#>\uF07C\uF07C</b></l></#></f></l>",
    // 14
    u"<l><d:name=Times New Roman,cset=0,b=1><t><#><l><e>Δ</e><e:i=1>x</e><e>→0</e></l></#><#><l>"
    u"<e> </e></l></#>lim</t><#><l><f><#><l><e:i=1>f</e><e>(</e><e:i=1>x</e><e>+Δ</e><e:i=1>x</e"
    u"><e>)−</e><e:i=1>f</e><e>(</e><e:i=1>x</e><e>)</e></l></#><#><l><e>Δ</e><e:i=1>x</e></l></"
    u"#></f></l></#></d></l>",
    // 15
    u"<l><f:name=Times New Roman,cset=0,b=1><#><l><e>1</e></l></#><#:i=1><l><e>n</e></l></#></f>"
    u"<d:name=Times New Roman,cset=0,b=1><s><#><l><e:i=1>k</e><e>=1</e></l></#><#:i=1><l><e>n</e"
    u"></l></#>\uF0E5</s><#:i=1><l><_><#><l><e>a</e></l></#><#><l><e>k</e></l></#></_></l></#></"
    u"d><e:name=Times New Roman,cset=0,b=1>≥</e><n:name=Times New Roman,cset=0,b=1><#><l><d><s><"
    u"#><l><e:i=1>k</e><e>=1</e></l></#><#:i=1><l><e>n</e></l></#>\uF0D5</s><#:i=1><l><_><#><l><"
    u"e>a</e></l></#><#><l><e>k</e></l></#></_></l></#></d></l></#><#:i=1><l><e>n</e></l></#></n"
    u"></l>",
    // 16
    u"<l><^:name=Times New Roman,cset=0,b=1,i=1><#><l><e:i=0>(</e><e>a</e><e:i=0>+</e><e>b</e><e"
    u":i=0>)</e></l></#><#><l><e>n</e></l></#></^><e:name=Times New Roman,cset=0,b=1>=</e><d:nam"
    u"e=Times New Roman,cset=0,b=1,i=1><s><#><l><e>r</e><e:i=0>=0</e></l></#><#><l><e>n</e></l><"
    u"/#>\uF0E5</s><#><l:i=1><d><#><l><e>C</e></l></#><c><#><l><e>n</e></l></#><#><l><e>r</e></l"
    u"></#></c></d><^:name=Times New Roman,cset=0,b=1,i=1><#><l><e>a</e></l></#><#><l><e>n</e><e"
    u":i=0>−</e><e>r</e></l></#></^><^:name=Times New Roman,cset=0,b=1,i=1><#><l><e>b</e></l></#"
    u"><#><l><e>r</e></l></#></^></l></#></d></l>",
    // 17
    u"<l><_:name=Times New Roman,cset=0,b=1><#:name=宋体,cset=134><l><e>∁</e></l></#><#:i=1><l><e>"
    u"U</e></l></#></_><e:name=Times New Roman,cset=0,b=1>(</e><e:name=Times New Roman,cset=0,b="
    u"1,i=1>A</e><e:name=宋体,cset=134,b=1>∪</e><e:name=Times New Roman,cset=0,b=1,i=1>B</e><e:nam"
    u"e=Times New Roman,cset=0,b=1>)=(</e><_:name=Times New Roman,cset=0,b=1><#:name=宋体,cset=134"
    u"><l><e>∁</e></l></#><#:i=1><l><e>U</e></l></#></_><e:name=Times New Roman,cset=0,b=1,i=1>A"
    u"</e><e:name=Times New Roman,cset=0,b=1>)</e><e:name=宋体,cset=134,b=1>∩</e><e:name=Times New"
    u" Roman,cset=0,b=1>(</e><_:name=Times New Roman,cset=0,b=1><#:name=宋体,cset=134><l><e>∁</e><"
    u"/l></#><#:i=1><l><e>U</e></l></#></_><e:name=Times New Roman,cset=0,b=1,i=1>B</e><e:name=T"
    u"imes New Roman,cset=0,b=1>)</e></l>",
    // 18
    u"<l><e:name=Times New Roman,cset=0,b=1>|</e><e:name=Times New Roman,cset=0,b=1,i=1>AB</e><e"
    u":name=Times New Roman,cset=0,b=1>|=</e><r:name=Times New Roman,cset=0,b=1><#><l><^><#><l><"
    u"e>(</e><_><#:i=1><l><e>x</e></l></#><#><l><e>2</e></l></#></_><e>−</e><_><#:i=1><l><e>x</e"
    u"></l></#><#><l><e>1</e></l></#></_><e>)</e></l></#><#><l><e>2</e></l></#></^><e>+</e><^><#"
    u"><l><e>(</e><_><#:i=1><l><e>y</e></l></#><#><l><e>2</e></l></#></_><e>−</e><_><#:i=1><l><e"
    u">y</e></l></#><#><l><e>1</e></l></#></_><e>)</e></l></#><#><l><e>2</e></l></#></^><e>+</e>"
    u"<^><#><l><e>(</e><_><#:i=1><l><e>z</e></l></#><#><l><e>2</e></l></#></_><e>−</e><_><#:i=1>"
    u"<l><e>z</e></l></#><#><l><e>1</e></l></#></_><e>)</e></l></#><#><l><e>2</e></l></#></^></l"
    u"></#></r></l>",
    // 19
    u"<l><b:name=Times New Roman,cset=0,b=1><#><l><m:type=2><#><l><_><#:i=1><l><e>a</e></l></#><"
    u"#><l><e>11</e></l></#></_></l></#><#><l><_><#:i=1><l><e>a</e></l></#><#><l><e>12</e></l></"
    u"#></_></l></#><#><l><_><#:i=1><l><e>a</e></l></#><#><l><e>21</e></l></#></_></l></#><#><l>"
    u"<_><#:i=1><l><e>a</e></l></#><#><l><e>22</e></l></#></_></l></#></m></l></#>\uF05B\uF05D</"
    u"b></l>",
    // 20
    u"<l><b:name=Times New Roman,cset=0,b=1><#><l><m:type=3><#><l><e>1</e></l></#><#><l><e>0</e>"
    u"</l></#><#><l><e>0</e></l></#><#><l><e>0</e></l></#><#><l><e>1</e></l></#><#><l><e>0</e></"
    u"l></#><#><l><e>0</e></l></#><#><l><e>0</e></l></#><#><l><e>1</e></l></#></m></l></#>\uF07C"
    u"\uF07C</b></l>",
    // 21
    u"<l><_:name=Times New Roman,cset=0,b=1><#:i=1><l><e>S</e></l></#><#:i=1><l><e>n</e></l></#>"
    u"</_><e:name=Times New Roman,cset=0,b=1>=</e><b:name=Times New Roman,cset=0,b=1><#><l><e:i="
    u"1>n</e><_><#:i=1><l><e>a</e></l></#><#><l><e>1</e></l></#></_><e>                     (</e"
    u"><e:i=1>q</e><e>=1),</e></l><l><f><#><l><_><#:i=1><l><e>a</e></l></#><#><l><e>1</e></l></#"
    u"></_><e>(1−</e><^><#:i=1><l><e>q</e></l></#><#:i=1><l><e>n</e></l></#></^><e>)</e></l></#>"
    u"<#><l><e>1−</e><e:i=1>q</e></l></#></f><e>=</e><f><#><l><_><#:i=1><l><e>a</e></l></#><#><l"
    u"><e>1</e></l></#></_><e>−</e><_><#:i=1><l><e>a</e></l></#><#:i=1><l><e>n</e></l></#></_><e"
    u":i=1>q</e></l></#><#><l><e>1−</e><e:i=1>q</e></l></#></f><e>(</e><e:i=1>q</e><e>≠1).</e></"
    u"l></#>\uF07B </b></l>",
    // 22
    u"<l><d:name=Times New Roman,cset=0,b=1,i=1><#><l><e>C</e></l></#><c><#><l><e>n</e></l></#><"
    u"#><l><e>m</e></l></#></c></d><e:name=Times New Roman,cset=0,b=1>=</e><f:name=Times New Rom"
    u"an,cset=0,b=1><#><l><e:i=1>n</e><e>!</e></l></#><#><l><e:i=1>m</e><e>!(</e><e:i=1>n</e><e>"
    u"−</e><e:i=1>m</e><e>)!</e></l></#></f></l>",
    // 23
    u"<l><e:name=Times New Roman,cset=0,b=1,i=1>f</e><e:name=Times New Roman,cset=0,b=1>(</e><e:"
    u"name=Times New Roman,cset=0,b=1,i=1>x</e><e:name=Times New Roman,cset=0,b=1>)=</e><f:name="
    u"Times New Roman,cset=0,b=1><#><l><e>1</e></l></#><#><l><r><#><l><e>2</e><e:i=1>π</e></l></"
    u"#></r><e:i=1>σ</e></l></#></f><^:name=Times New Roman,cset=0,b=1><#:i=1><l><e>e</e></l></#"
    u"><#><l><e:i=0,u=0>−</e><f><#><l><^><#><l><e>(</e><e:i=1>x</e><e>−</e><e:i=1>μ</e><e>)</e><"
    u"/l></#><#><l><e>2</e></l></#></^></l></#><#><l><e>2</e><^><#:i=1><l><e:u=0>σ</e></l></#><#"
    u"><l><e>2</e></l></#></^></l></#></f></l></#></^><e:name=Times New Roman,cset=0,b=1>, </e><"
    u"e:name=Times New Roman,cset=0,b=1,i=1>x</e><e:name=宋体,cset=134,b=1>∈</e><e:name=Times New "
    u"Roman,cset=0,b=1>(−</e><e:name=Times New Roman,cset=0,b=1,i=0,u=0>∞</e><e:name=Times New R"
    u"oman,cset=0,b=1>,+</e><e:name=Times New Roman,cset=0,b=1,i=0,u=0>∞</e><e:name=Times New Ro"
    u"man,cset=0,b=1>)</e></l>",
    // 24
    u"<l><e:name=Times New Roman,cset=0,b=1,i=1>a></e><e:name=Times New Roman,cset=0,b=1,i=1>b</"
    u"e><e:name=Symbol,cset=2,b=1>\uF0DB</e><e:name=Times New Roman,cset=0,b=1,i=1>a−</e><e:name"
    u"=Times New Roman,cset=0,b=1,i=1>b</e><e:name=Times New Roman,cset=0,b=1>>0</e></l>",
    // 25
    u"<l><e:name=Times New Roman,cset=0,b=1,i=1>y</e><e:name=Times New Roman,cset=0,b=1>=sin</e>"
    u"<e:name=Times New Roman,cset=0,b=1,i=1>x</e><a:b=1><#><l><e>横坐标伸长到原来的2倍</e></l></#><#><l><"
    u"e>(纵坐标不变)</e></l></#></a><e:name=Times New Roman,cset=0,b=1,i=1>y</e><e:name=Times New Rom"
    u"an,cset=0,b=1>=sin</e><f:name=Times New Roman,cset=0,b=1><#><l><e>1</e></l></#><#><l><e>2<"
    u"/e></l></#></f><e:name=Times New Roman,cset=0,b=1,i=1>x</e></l>",
    // 26
    u"<l><_:name=Times New Roman,cset=0,b=1><#:i=1><l><e>N</e></l></#><#><l><e>2</e></l></#></_>"
    u"<e:name=Times New Roman,cset=0,b=1>+3</e><_:name=Times New Roman,cset=0,b=1><#:i=1><l><e>H"
    u"</e></l></#><#><l><e>2</e></l></#></_><a:b=1,type=8><#><l><e>高温、高压</e></l></#><#><l><e>催化剂"
    u"</e></l></#></a><e:name=Times New Roman,cset=0,b=1>2</e><e:name=Times New Roman,cset=0,b=1"
    u",i=1>N</e><_:name=Times New Roman,cset=0,b=1><#:i=1><l><e>H</e></l></#><#><l><e>3</e></l><"
    u"/#></_></l>",
    // 27
    u"<l><e:name=Symbol,cset=2,b=1,i=0>\uF022\uF024\uF0D8\uF0D9\uF0DA\uF0C4\uF0C5\uF0C6\uF0DB\uF0DC"
    u"\uF0DD\uF0DE\uF0DF\uF0E1\uF0F1</e></l>",
};

CString GetFormulaTemplate(int index) {
    if (index < 0 || index >= HX_FORMULA_TEMPLATE_COUNT)
        return CString();
    return CString(kTemplates[index]);
}
