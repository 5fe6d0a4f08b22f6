#include "common/procedure_guard.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "common/run_state.h"

namespace {

TEST(ProcedureGuard, RestoresCallerIdsOnEveryWayOut) {
    common::State().procedureId = "Main";
    common::State().functionId = "";
    {
        common::ProcedureIdGuard driver("AKAGI00M");
        EXPECT_EQ(common::State().procedureId, "AKAGI00M");
        try {
            common::FunctionIdGuard library("CFFIL02M");
            common::ProcedureIdGuard nested("AKAGI32M");
            EXPECT_EQ(common::State().functionId, "CFFIL02M");
            EXPECT_EQ(common::State().procedureId, "AKAGI32M");
            throw std::runtime_error("trapped further up");
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(common::State().procedureId, "AKAGI00M");
        EXPECT_EQ(common::State().functionId, "");
    }
    EXPECT_EQ(common::State().procedureId, "Main");
}

}  // namespace
