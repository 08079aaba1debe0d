#include "ui/year_window/year_dialog.h"
#include "ui/year_window/year_form.h"
#include "window_testing.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTableView>

namespace kozenica::testing {
namespace {

QString run_tool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

struct year_table_window_test : main_form_test {
    year_form& window() { return *form->findChild<year_form*>(); }
    QString tsv_line(int row) { return window().selection_as_tsv().split(u'\n').value(row); }
};

TEST_F(year_table_window_test, theYearFollowsTheMonthInHandAndLeavesAsCsvAndPrintedPage) {
    write_month("2023_5.kzn", "3|店|米|1|0|3000\n4|店|牛乳|12|0|1000");
    write_month("2024_1.kzn", "2|店|米|1|0|2500\n9|店|薬|7|0|800");
    write_month("2024_3.kzn", "2|店|米|1|0|999");
    dir.write("2024_2.kzn", "broken");
    write_month("2024_5.kzn", "3|店|米|1|0|1000\n5|店|牛乳|12|0|250");
    answer(choice{"2024", 5, 0});
    run("file_load");
    form->model()->setData(form->model()->index(2, 6), u"2,000"_s); // unsaved, in hand
    runner.push([this](QDialog& d) { // the year and format of the month in hand, then OK
        auto& f = dynamic_cast<year_dialog&>(d);
        seen << f.windowTitle() + f.year_box()->text() + (f.file_format() ? u"CSV"_s : u"KZN"_s);
        return int(QDialog::Accepted);
    });
    run("year_table_menu");
    ASSERT_EQ(seen.value(1), u"年間集計2024KZN"_s);
    EXPECT_EQ(window().focusWidget(), window().year_disp());

    const QStringList expected =
        texts("種類\t1月\t2月！\t3月\t4月\t5月*\t6月\t7月\t8月\t9月\t10月\t11月\t12月\t"
              "年計\t月平均\t前年計\t差額\t前年比\n"
              "食費\t2,500\t―\t999\t―\t1,000\t―\t―\t―\t―\t―\t―\t―\t4,499\t1,500\t"
              "3,000\t1,499\t150.0\n"
              "乳製品\t0\t―\t0\t―\t2,000\t―\t―\t―\t―\t―\t―\t―\t2,000\t667\t1,000\t"
              "1,000\t200.0");
    for (int row = 0; row < expected.size(); ++row)
        EXPECT_EQ(tsv_line(row), expected[row]);
    EXPECT_EQ(window().notes()->text(), u"数えていない月(読めないか壊れています): 2024年2月"_s);

    // Ctrl+C copies the selected rows with the heading line.
    window().year_disp()->selectRow(1);
    QTest::keyClick(window().year_disp(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), expected[0] + u'\n' + expected[2] + u'\n');

    // An edit of the month in hand shows in the table a moment later, the selection kept.
    form->model()->setData(form->model()->index(2, 6), u"3,000"_s);
    QTest::qWait(600);
    EXPECT_EQ(tsv_line(1).section(u'\t', 5, 5), u"3,000"_s); // the selected row, still selected

    // Enter on a month cell opens the lines behind it.
    window().year_disp()->setCurrentIndex(window().year_disp()->model()->index(0, 1));
    QTest::keyClick(window().year_disp(), Qt::Key_Return);
    auto* lines = window().findChild<QWidget*>(u"year_lines"_s);
    ASSERT_NE(lines, nullptr);
    const QAbstractItemModel* behind = lines->findChild<QTableView*>()->model();
    EXPECT_EQ(behind->index(0, 0).data().toString() + behind->index(0, 3).data().toString(),
              u"2024/1/22,500"_s);

    // The CSV: proposed name in the program's folder, Shift-JIS with CR LF, asked before it is replaced.
    const std::string csv_name = "年間集計2024.csv"; // the file system's UTF-8 bytes
    const auto save = [&] {
        const QString proposed = QString::fromStdString(dir.file(csv_name));
        runner.push([proposed](QDialog& d) {
            return int(dynamic_cast<QFileDialog&>(d).selectedFiles().value(0) == proposed);
        });
        window().save_button()->click();
    };
    save();
    const std::string csv = dir.read(csv_name);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              sjis("種類,1月,2月！,3月,4月,5月*,6月,7月,8月,9月,10月,11月,12月,"
                   "年計,月平均,前年計,差額,前年比"));
    dir.write(csv_name, "kept");
    notify.messages.clear();
    save();
    EXPECT_EQ(notify.messages.at(0).buttons, box_buttons::yes_no_default_no);
    EXPECT_EQ(dir.read(csv_name), "kept");

    // One printed A4 page as PDF with the title, the kinds and the figures in the embedded Japanese font.
    const QString pdf = QString::fromStdString(dir.file("year.pdf"));
    runner.push([&pdf](QDialog& d) {
        dynamic_cast<QPrintDialog&>(d).printer()->setOutputFileName(pdf); // a .pdf name prints a PDF file
        return int(QDialog::Accepted);
    });
    window().print_button()->click();
    const QString text = run_tool(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
    for (const QString& part : {u"2024年 年間集計"_s, u"食費"_s, u"乳製品"_s, u"4,499"_s, u"150.0"_s})
        EXPECT_TRUE(text.contains(part)) << part.toStdString();
    EXPECT_EQ(text.count(u'\f'), 1);
    EXPECT_TRUE(run_tool(u"pdfinfo"_s, {pdf}).contains(u"842 x 595"_s));
    EXPECT_TRUE(run_tool(u"pdffonts"_s, {pdf}).contains(QRegularExpression(u"IPAPGothic.*yes"_s)));
}

} // namespace
} // namespace kozenica::testing
