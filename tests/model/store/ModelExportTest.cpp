#include "model/store/ModelExport.h"

#include "model/data/ImportModel.h"
#include "platform/UserDefaults.h"
#include "support/TempHomeTest.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class ModelExportTest : public mervane::test::TempHomeTest { };

TEST_F(ModelExportTest, FlushStampsTheVersionAndReportsFailedWrites)
{
    ModelExport exporter;
    EXPECT_TRUE(exporter.flushToDisk(homePath(u"none.json"_s))); // nothing to write
    auto model = MVX_Model::makeEmpty();
    model->setVersion(u"1.0"_s);
    model->setBaseCurrency(u"BGN"_s);
    exporter.setArchive(model);
    EXPECT_EQ(exporter.flushToDisk(homePath(u"export.json"_s)), std::nullopt);
    const platform::Expected<ModelReadResult> back = ImportModel::readFile(homePath(u"export.json"_s));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->model->version(), QStringLiteral(MERVANE_VERSION));
    EXPECT_EQ(back->model->baseCurrency(), u"BGN"_s);

    const QString below = homePath(u"export.json/below"_s);
    const platform::MaybeError failed = exporter.flushToDisk(below);
    ASSERT_TRUE(failed);
    EXPECT_TRUE(failed->startsWith(u"The file \"%1\" could not be written: "_s.arg(below)))
        << failed->toStdString();
    EXPECT_TRUE(ImportModel::readFile(homePath(u"export.json"_s))) << "the file in the way is untouched";

    EXPECT_TRUE(ModelExport::getSuggestedPath().isNull());
    platform::UserDefaults::standard().setValue(ModelExport::exportPathKey, homePath(u"last.json"_s));
    EXPECT_EQ(ModelExport::getSuggestedPath(), homePath(u"last.json"_s));
}

} // namespace
