#include "support/EventRecorder.h"
#include "support/TreeProgram.h"

namespace {

using zrtest::DriverTest;

struct Storm {
    unsigned seed;
    long messages;
};

class InputStorm : public DriverTest, public ::testing::WithParamInterface<Storm> {};

// Native messages by the ten thousand, with tree changes between them and
// subscribers that delete, destroy, reparent, capture and close modal windows
// from inside their events: after every step the tree and the driver's
// references stay sound.
TEST_P(InputStorm, TreeAndDriverReferencesStaySound) {
    const Storm storm = GetParam();
    zrtest::RandomChoices choices(storm.seed);
    zrtest::TreeProgram program(driver(), engine.get(), storm.seed);
    engine->Log();  // what the program does says much in the log
    while (program.Messages() < storm.messages) {
        ASSERT_TRUE(program.Step(choices)) << program.Failure() << " (seed " << storm.seed << ")";
    }
    EXPECT_GT(program.Steps(), program.Messages());
}

INSTANTIATE_TEST_SUITE_P(FixedSeeds, InputStorm,
                         ::testing::Values(Storm{20261205u, 100000}, Storm{7u, 20000}, Storm{4242u, 20000},
                                           Storm{99u, 20000}));

}  // namespace
