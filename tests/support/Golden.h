#pragma once
// Golden-image comparison for tests: a surface is compared pixel for pixel with
// tests/golden/<suite>/<state>.png.
//
// On a mismatch (or a missing golden) the actual image and a diff are written to
// <build>/golden-failures/<suite>/<state>.actual.png and .diff.png; the diff shows matching
// pixels faded and differing ones in red. With QZ_UPDATE_GOLDEN=1 in the environment the
// golden is (re)written from the actual image and the comparison passes.
//
//     EXPECT_GOLDEN(surface, "graphics", "bevel");

#include <framework/graphics/Surface.h>
#include <gtest/gtest.h>
#include <string>

namespace qztest {

::testing::AssertionResult MatchesGolden(const fw::TSurface& actual, const std::string& suite,
                                         const std::string& state);

// Where the golden of a state lives.
std::string GoldenPath(const std::string& suite, const std::string& state);

} // namespace qztest

#define EXPECT_GOLDEN(surface, suite, state) EXPECT_TRUE(::qztest::MatchesGolden((surface), (suite), (state)))
