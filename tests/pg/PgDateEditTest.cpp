// The data-aware date edit over the PostgreSQL dataset, driven by typed keys
// and Tab: the date reaches the server as a date, also when the server went
// away between typing and posting.

#include <Qzde/QzDateControls.h>
#include <framework/backends/headless/Automation.h>
#include <framework/controls/Edit.h>
#include <framework/db/DataSource.h>
#include <framework/db/pg/PgDataSet.h>
#include <framework/forms/Form.h>
#include <framework/rtl/Clock.h>
#include <framework/rtl/DateUtils.h>
#include <framework/rtl/FormatSettings.h>
#include <gtest/gtest.h>
#include <tests/support/PgTestServer.h>
#include <tests/support/UiFixture.h>

namespace {

using namespace fw;

class PgDateEditTest : public test::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        QZ_REQUIRE_PG();
        FormatSettings.ShortDateFormat = "dd/mm/yyyy";
        FormatSettings.DateSeparator = '/';
        TPgConnection(qztest::PgTestServer::ConnInfo())
            .Exec("DROP TABLE IF EXISTS born_on; "
                  "CREATE TABLE born_on (id int PRIMARY KEY, name text, born date); "
                  "INSERT INTO born_on VALUES (1, 'Ada', '1955-12-10'), (2, 'Grace', NULL)");
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(100, 100, 300, 140);
        Data = new TPgDataSet(Form.get());
        Data->SetConnectionString(qztest::PgTestServer::ConnInfo());
        Data->SetTableName("born_on");
        auto* Source = new TDataSource(Form.get());
        Source->SetDataSet(Data);
        Data->Open();
        Edit = new qz::TQzDBDateEdit(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetBounds(8, 8, 121, 20);
        Edit->SetErrorMessageType(qz::mtSilent);
        Edit->SetDataSource(Source);
        Edit->SetDataField("born");
        auto* Other = new TEdit(Form.get());
        Other->SetParent(Form.get());
        Other->SetBounds(8, 40, 121, 21);
        Form->Show();
    }
    void TearDown() override {
        Form.reset();
        UiFixture::TearDown();
    }

    static String ServerValue(const String& Sql) {
        return String(TPgConnection(qztest::PgTestServer::ConnInfo()).Exec(Sql).Value(0, 0));
    }

    TFormatSettingsGuard Settings;
    TScopedClock Clock{EncodeDate(2026, 12, 8)};
    std::unique_ptr<TForm> Form;
    TPgDataSet* Data = nullptr;
    qz::TQzDBDateEdit* Edit = nullptr;
};

TEST_F(PgDateEditTest, ATypedDateReachesTheServerAlsoAcrossARestart) {
    EXPECT_EQ(Edit->Text(), "10/12/1955");
    Edit->SelectAll();
    Ui::TypeText("7/12/26");
    Ui::Tab();
    EXPECT_EQ(Edit->Text(), "07/12/2026");
    ASSERT_EQ(Data->State(), dsEdit);
    Data->Post();
    EXPECT_EQ(ServerValue("SELECT born FROM born_on WHERE id = 1"), "2026-12-07");

    // The next record: typed, then the server goes away before the post.
    Data->Next();
    Edit->SetFocus();
    Edit->SelectAll();
    Ui::TypeText("29/2/2024");
    Ui::Tab();
    ASSERT_TRUE(qztest::PgTestServer::Stop());
    EXPECT_THROW(Data->Post(), EDatabaseError);
    EXPECT_EQ(Data->State(), dsEdit);
    EXPECT_EQ(Edit->Text(), "29/02/2024");
    ASSERT_TRUE(qztest::PgTestServer::Start());
    Data->Post();
    EXPECT_EQ(ServerValue("SELECT born FROM born_on WHERE id = 2"), "2024-02-29");
    EXPECT_EQ(Edit->Text(), "29/02/2024");
}

} // namespace
