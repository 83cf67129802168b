#include <gtest/gtest.h>

#include "core/print/RemarkWrap.h"

namespace termika {
namespace {

// Every character one unit wide except the full-width ones, which take two.
double width(QStringView ch) { return ch.at(0).unicode() >= 0x3000 ? 2.0 : 1.0; }

QString padded(const QString& text) { return text.leftJustified(50, u' '); }

TEST(RemarkWrap, TrimsPaddingAndBreaksBeforeTheColumnEnd) {
  const QString fifty(50, u'x');
  // What is wrapped, the remark and the column's width: the lines.
  const std::tuple<const char*, QString, double, QStringList> cases[] = {
      {"padding dropped", padded(QStringLiteral("最高温度 ")), 14, {QStringLiteral("最高温度")}},
      {"two marks, full width",
       padded(QStringLiteral("最高温度 最低湿度 ")),
       14,
       {QStringLiteral("最高温度 最低"), QStringLiteral("湿度")}},
      {"50 characters in four lines",
       fifty,
       14,
       {QString(14, u'x'), QString(14, u'x'), QString(14, u'x'), QString(8, u'x')}},
      {"exactly one line", QString(14, u'y'), 14, {QString(14, u'y')}},
      {"one over", QString(15, u'y'), 14, {QString(14, u'y'), QStringLiteral("y")}},
      {"only blanks", QString(50, u' '), 14, {QString()}},
      {"leading blanks too", QStringLiteral("  ab  "), 14, {QStringLiteral("ab")}},
      {"full-width blank is text", QStringLiteral("\u3000a "), 14, {QStringLiteral("\u3000a")}},
      {"wider than the column",
       QStringLiteral("温温"),
       1.5,
       {QStringLiteral("温"), QStringLiteral("温")}},
  };
  for (const auto& [name, remark, column, lines] : cases)
    EXPECT_EQ(wrapRemark(remark, column, width), lines) << name;
}

TEST(RemarkWrap, SurrogatePairStaysTogether) {
  const QString text = QStringLiteral("a") + QString::fromUcs4(U"\U00020B9F") + QStringLiteral("b");
  const QStringList lines =
      wrapRemark(text, 2.0, [](QStringView ch) { return ch.size() == 2 ? 2.0 : 1.0; });
  EXPECT_EQ(lines, (QStringList{QStringLiteral("a"), QString::fromUcs4(U"\U00020B9F"),
                                QStringLiteral("b")}));
}

}  // namespace
}  // namespace termika
