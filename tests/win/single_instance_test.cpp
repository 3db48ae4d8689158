// The single-instance marker as a start meets it: held by a copy whose window is not up yet (it
// started a moment ago, or runs in another session), or by another user's copy whose DACL lets
// nobody else open it.
#include "app/single_instance.h"
#include "support/program_runner.h"
#include "support/sim_fixture.h"
#include "tests/tools/program_boxes/program_boxes.h"

#include <gtest/gtest.h>

namespace {

// The marker as another copy holds it; with denyEveryone, under an empty DACL.
class HeldMarker {
public:
    explicit HeldMarker(bool denyEveryone) {
        SECURITY_DESCRIPTOR descriptor;
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        ACL empty;
        InitializeAcl(&empty, sizeof(empty), ACL_REVISION);
        SetSecurityDescriptorDacl(&descriptor, TRUE, &empty, FALSE);
        SECURITY_ATTRIBUTES attributes = {sizeof(attributes), &descriptor, FALSE};
        handle_ =
            CreateMutexA(denyEveryone ? &attributes : nullptr, FALSE, SingleInstanceMutexName);
    }
    ~HeldMarker() {
        if (handle_ != nullptr) {
            CloseHandle(handle_);
        }
    }
    HeldMarker(const HeldMarker&) = delete;
    HeldMarker& operator=(const HeldMarker&) = delete;

    bool Held() const { return handle_ != nullptr; }

private:
    HANDLE handle_ = nullptr;
};

struct MarkerCase {
    const char* name;
    bool denyEveryone;
};
const MarkerCase MarkerCases[] = {{"held", false}, {"held under a DACL that refuses all", true}};

using SingleInstance = SimTest;

TEST_F(SingleInstance, StartWhileTheMarkerIsHeldReportsARunningCopy) {
    for (const MarkerCase& c : MarkerCases) {
        Change([](SimUnitState& s) { s.powerOn = 0; });
        TakeLog();
        HeldMarker marker(c.denyEveryone);
        ASSERT_TRUE(marker.Held()) << c.name;
        if (c.denyEveryone) {
            // What another user's copy looks like from here.
            ASSERT_EQ(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, SingleInstanceMutexName), nullptr);
            ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
        }
        RunningProgram program("");
        ASSERT_TRUE(program.Started()) << c.name;
        HWND box = WaitForProgramBox(program.ProcessId(), 30000);
        ASSERT_NE(box, nullptr) << c.name << ": no box; the start went on to become resident";
        // No window of that copy to find: it is told of one in the background.
        EXPECT_EQ(ProgramBoxText(box), L"既に常駐しています(in background)") << c.name;
        EXPECT_TRUE(PressProgramBoxOk(box, 5000));
        DWORD exitCode = 0;
        ASSERT_TRUE(program.WaitForExit(30000, exitCode)) << c.name;
        EXPECT_EQ(exitCode, 1u) << c.name;
        EXPECT_TRUE(Commands(TakeLog()).empty()) << c.name << ": the unit was powered on";
    }
}

// Found at creation, the marker is not kept open: once the other copy ends, the name is gone and
// a later start is not told of a copy that no longer runs.
TEST_F(SingleInstance, MarkerFoundAtCreationIsNotKeptOpen) {
    for (const MarkerCase& c : MarkerCases) {
        bool anotherCopy = false;
        {
            HeldMarker marker(c.denyEveryone);
            ASSERT_TRUE(marker.Held()) << c.name;
            EXPECT_EQ(TakeSingleInstanceMarker(anotherCopy), nullptr) << c.name;
            EXPECT_TRUE(anotherCopy) << c.name;
        }
        EXPECT_FALSE(AnotherCopyRuns()) << c.name;
    }
    bool anotherCopy = true;
    HANDLE mine = TakeSingleInstanceMarker(anotherCopy);
    ASSERT_NE(mine, nullptr);
    EXPECT_FALSE(anotherCopy);
    EXPECT_TRUE(AnotherCopyRuns());
    CloseHandle(mine);
    EXPECT_FALSE(AnotherCopyRuns());
}

} // namespace
