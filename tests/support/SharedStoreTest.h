#pragma once

#include "model/data/MVX_Model.h"
#include "model/store/DataFileWriter.h"
#include "model/store/NWData.h"
#include "support/TempHomeTest.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <memory>

namespace mervane::test {

/// A test of screens that work on the application's one store: each test has its own home
/// (and so its own data file), the store writes through real devices unless the test gives it
/// failing ones, and it is emptied when the test ends, after its writes have finished.
class SharedStoreTest : public TempHomeTest {
protected:
    void SetUp() override;
    void TearDown() override;

    static NWData& store() { return *NWData::shared(); }
    /// Writes `model` as the data file and loads it as the application does at start.
    static void loadAsAtStart(const MVX_Model& model);
    /// Makes `model` the store's model (records sorted) and saves it, so that the data file
    /// holds exactly what the store holds.
    static void installAndSave(const std::shared_ptr<MVX_Model>& model);
    /// The data file's bytes; empty when there is none.
    static QByteArray dataFileBytes();
    /// Whether the store's model, written out, is byte for byte what the data file holds.
    static ::testing::AssertionResult modelIsTheDataFile();
    /// Saves as the screens do (`saveDataAsync`) and waits for the completion's answer.
    static platform::MaybeError saveAsyncAndWait();
};

} // namespace mervane::test
