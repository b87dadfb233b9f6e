#pragma once
// A real SQLite file in a fresh folder with a small table of people, a dataset and
// a data source over it, and a shown form with a data-aware date edit (focused)
// bound to the "born" date column and a plain edit to Tab to. The application's
// date layout is "dd/mm/yyyy", the same as the edit's, and "today" is fixed.

#include <Qzde/QzDateControls.h>
#include <filesystem>
#include <framework/backends/headless/Automation.h>
#include <framework/controls/Edit.h>
#include <framework/db/DataSource.h>
#include <framework/db/Field.h>
#include <framework/db/SqliteDataSet.h>
#include <framework/forms/Form.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/FormatSettings.h>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <tests/support/UiFixture.h>
#include <unistd.h>

namespace qztest {

// Reads one value of the file straight through SQLite, as another program would.
inline std::string StoredText(const std::filesystem::path& File, const std::string& Sql) {
    sqlite3* Db = nullptr;
    std::string Result = "<error>";
    if (sqlite3_open_v2(File.c_str(), &Db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* Stmt = nullptr;
        if (sqlite3_prepare_v2(Db, Sql.c_str(), -1, &Stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(Stmt) == SQLITE_ROW)
            Result = sqlite3_column_type(Stmt, 0) == SQLITE_NULL
                         ? "<null>"
                         : reinterpret_cast<const char*>(sqlite3_column_text(Stmt, 0));
        sqlite3_finalize(Stmt);
    }
    sqlite3_close(Db);
    return Result;
}

inline void Execute(const std::filesystem::path& File, const std::string& Sql) {
    sqlite3* Db = nullptr;
    ASSERT_EQ(sqlite3_open(File.c_str(), &Db), SQLITE_OK);
    char* Error = nullptr;
    const int Rc = sqlite3_exec(Db, Sql.c_str(), nullptr, nullptr, &Error);
    EXPECT_EQ(Rc, SQLITE_OK) << (Error ? Error : "");
    sqlite3_free(Error);
    sqlite3_close(Db);
}

// Rows: 1 Ada (born 1955-12-10), 2 Grace (1906-12-09, a text note holding a
// date with a two-digit year), 3 Alan (no birth date), 4 Edsger (a birth date
// another program stored as 'garbage').
inline void MakePeopleTable(const std::filesystem::path& File) {
    Execute(File,
            "CREATE TABLE people(id INTEGER PRIMARY KEY, name TEXT(20), born DATE, met DATETIME,"
            " note TEXT(12), age INTEGER);"
            "INSERT INTO people VALUES(1, 'Ada', '1955-12-10', '2026-03-14 09:30:00', 'Rock & roll', 36);"
            "INSERT INTO people VALUES(2, 'Grace', '1906-12-09', NULL, '7/12/26', 85);"
            "INSERT INTO people VALUES(3, 'Alan', NULL, NULL, NULL, 41);"
            "INSERT INTO people VALUES(4, 'Edsger', 'garbage', NULL, 'x', 72);");
}

class DBDateFixture : public fw::test::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        fw::FormatSettings.ShortDateFormat = "dd/mm/yyyy";
        fw::FormatSettings.DateSeparator = '/';
        dir = std::filesystem::temp_directory_path() /
              ("qz-dbdate-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        file = dir / "people.db";
        MakePeopleTable(file);

        form = std::make_unique<fw::TForm>(nullptr);
        form->SetBounds(100, 100, 300, 140);
        dataSet = new fw::TSQLiteDataSet(form.get());
        dataSet->SetFileName(file.string());
        dataSet->SetTableName("people");
        dataSource = new fw::TDataSource(form.get());
        dataSource->SetDataSet(dataSet);
        dataSet->Open();
        edit = new qz::TQzDBDateEdit(form.get());
        edit->SetName("DBDateEdit1");
        edit->SetParent(form.get());
        edit->SetBounds(8, 8, 121, 20);
        edit->SetErrorMessageType(qz::mtSilent);
        edit->SetDataSource(dataSource);
        edit->SetDataField("born");
        other = new fw::TEdit(form.get());
        other->SetParent(form.get());
        other->SetBounds(8, 40, 121, 21);
        form->Show();
    }
    void TearDown() override {
        form.reset();
        std::filesystem::remove_all(dir);
        UiFixture::TearDown();
    }

    fw::TField* Born() const { return dataSet->FieldByName("born"); }
    // Replaces the edit's text by typing and leaves with Tab.
    void TypeAndLeave(const std::string& Text) {
        edit->SelectAll();
        fw::Ui::TypeText(Text);
        fw::Ui::Tab();
    }

    fw::TFormatSettingsGuard settings;
    fw::TScopedClock clock{fw::EncodeDate(2026, 3, 14)};
    std::filesystem::path dir;
    std::filesystem::path file;
    std::unique_ptr<fw::TForm> form;
    fw::TSQLiteDataSet* dataSet = nullptr;
    fw::TDataSource* dataSource = nullptr;
    qz::TQzDBDateEdit* edit = nullptr;
    fw::TEdit* other = nullptr;
};

} // namespace qztest
