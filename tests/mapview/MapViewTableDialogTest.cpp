#include "mapview/DialogSaveTable.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace tarvo {
namespace {

template <typename T> T* Find(QWidget& dialog, const char* name) {
    T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

TEST(DialogSaveTable, DefaultsChoicesAndTheFileFromTheButton) {
    std::optional<QString> answer; // what "..." answers
    int asked = 0;
    CDialogSaveTable dialog(nullptr, CTableOptions{}, [&](QWidget*) {
        ++asked;
        return answer;
    });
    EXPECT_EQ(dialog.windowTitle(), "Create A Table Report");
    EXPECT_TRUE(Find<QRadioButton>(dialog, "delimiterTab")->isChecked());
    QLineEdit* other = Find<QLineEdit>(dialog, "otherText");
    EXPECT_FALSE(other->isEnabled());
    EXPECT_EQ(Find<QPushButton>(dialog, "create")->text(), "Create...");

    // "..." cancelled chooses nothing; answered, it fills the path.
    QPushButton* browse = Find<QPushButton>(dialog, "browse");
    QTest::mouseClick(browse, Qt::LeftButton);
    EXPECT_FALSE(dialog.Options().fileChosen);
    answer = QStringLiteral("/data/out.txt");
    QTest::mouseClick(browse, Qt::LeftButton);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(Find<QLineEdit>(dialog, "path")->text(), "/data/out.txt");

    QTest::mouseClick(Find<QRadioButton>(dialog, "delimiterOther"), Qt::LeftButton);
    EXPECT_TRUE(other->isEnabled());
    QTest::keyClicks(other, ";");
    QTest::mouseClick(Find<QCheckBox>(dialog, "includeHeader"), Qt::LeftButton);

    const CTableOptions options = dialog.Options();
    EXPECT_EQ(options.path, "/data/out.txt");
    EXPECT_TRUE(options.fileChosen);
    EXPECT_FALSE(options.includeHeader);
    EXPECT_TRUE(options.includeIndex);
    EXPECT_EQ(options.delimiter, kDelimiterOther);
    EXPECT_EQ(TableDelimiterChar(options), ';');

    QTest::mouseClick(Find<QRadioButton>(dialog, "delimiterComma"), Qt::LeftButton);
    EXPECT_FALSE(other->isEnabled());
    EXPECT_EQ(TableDelimiterChar(dialog.Options()), ',');
}

} // namespace
} // namespace tarvo
