// Calls carried for a drive that may not answer: what a call that was not answered gives its
// caller, and what it leaves alone.

#include "platform/carried_services.h"

#include <gtest/gtest.h>

#include <new>

#include "tests/fakes/fake_platform.h"

namespace lumarel {
namespace {

using testing::FakeFileSystem;
using testing::ScriptedCarrier;

TEST(CarriedCalls, AnUnansweredCallFailsAndLeavesWhatItWouldHaveFilled) {
    struct Case {
        CallEnd end;
        unsigned long error;
    };
    for (const Case c : {Case{CallEnd::GivenUp, OsResult::kGivenUp},
                         Case{CallEnd::NotAnswering, 121}, Case{CallEnd::Busy, 170}}) {
        FakeFileSystem fake;
        fake.directories[L"N:\\"] = {{L"far.smc"}};
        fake.sizes[L"N:\\far.smc"] = 42;
        fake.goneDrives = {L'N'};
        ScriptedCarrier carrier;
        carrier.end = c.end;
        CarriedFileSystem files(fake, carrier);

        DirectoryListing listing{{L"kept.smc"}};
        carrier.unansweredCall = carrier.calls + 1;
        const OsResult listed = files.List(L"N:\\", listing);
        EXPECT_EQ(listed.error, c.error);
        EXPECT_FALSE(listed.reason.empty());
        EXPECT_EQ(listing.NameAt(0), L"kept.smc");

        std::uint64_t size = 7;
        carrier.givenUp = false;
        carrier.unansweredCall = carrier.calls + 1;
        EXPECT_EQ(files.FileSize(L"N:\\far.smc", size).error, c.error);
        EXPECT_EQ(size, 7u);

        // A drive that does not answer is not a drive that is gone: no fallback for it.
        carrier.givenUp = false;
        carrier.unansweredCall = carrier.calls + 1;
        EXPECT_TRUE(files.DriveIsPresent(L'N'));
        carrier.givenUp = false;
        EXPECT_FALSE(files.DriveIsPresent(L'N'));
        EXPECT_TRUE(fake.listed.empty()) << "an unanswered call ran here";
    }
}

TEST(CarriedCalls, AnAnsweredCallGivesWhatTheCallGaveAndWhatItThrowsIsThrownHere) {
    FakeFileSystem fake;
    fake.directories[L"C:\\ROMS"] = {{L"a.smc"}, {L"b.sfc"}};
    fake.throwing = {L"C:\\FULL"};
    ScriptedCarrier carrier;
    CarriedFileSystem files(fake, carrier);
    DirectoryListing listing;
    EXPECT_TRUE(files.List(L"C:\\ROMS", listing).ok);
    EXPECT_EQ(listing.Count(), 2u);
    EXPECT_THROW(files.List(L"C:\\FULL", listing), std::bad_alloc);
    EXPECT_EQ(listing.Count(), 2u);
}

}  // namespace
}  // namespace lumarel
