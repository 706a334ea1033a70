#include "src/exception.h"

#include <gtest/gtest.h>

using VARKO::ExceptionReport;
using VARKO::LumoException;

TEST(LumoException, ConstructorsFillTheDefaults) {
    LumoException none;
    EXPECT_EQ(none.GetLine(), -1);
    EXPECT_EQ(none.GetFileName(), "Unknown File.");
    EXPECT_EQ(none.GetError(), "Unknown Error.");

    LumoException message("Broken.");
    EXPECT_EQ(message.GetLine(), -1);
    EXPECT_EQ(message.GetFileName(), "Unknown File.");
    EXPECT_EQ(message.GetError(), "Broken.");

    LumoException full(42, ".\\src\\texture", "Texture :: GetInfo - Texture id not found.");
    LumoException copy(full);
    EXPECT_EQ(copy.GetLine(), 42);
    EXPECT_EQ(copy.GetFileName(), ".\\src\\texture");
    EXPECT_EQ(copy.GetError(), "Texture :: GetInfo - Texture id not found.");
}

TEST(LumoException, ReportHasSevenLines) {
    LumoException e(42, ".\\src\\texture", "Texture :: GetInfo - Texture id not found.");
    EXPECT_EQ(ExceptionReport(e), "Exception at\n\nLine :\t42\nFile :\t.\\src\\texture\n"
                                  "Error:\tTexture :: GetInfo - Texture id not found.\n\n"
                                  "This application will now exit.");
}

TEST(LumoException, ReportOfDefaultsAndEdgeValues) {
    EXPECT_EQ(ExceptionReport(LumoException()),
              "Exception at\n\nLine :\t-1\nFile :\tUnknown File.\nError:\tUnknown Error.\n\n"
              "This application will now exit.");
    EXPECT_EQ(ExceptionReport(LumoException("Only a message.")),
              "Exception at\n\nLine :\t-1\nFile :\tUnknown File.\nError:\tOnly a message.\n\n"
              "This application will now exit.");
    // An empty message leaves only the tab after "Error:".
    EXPECT_EQ(ExceptionReport(LumoException(-7, "f", "")),
              "Exception at\n\nLine :\t-7\nFile :\tf\nError:\t\n\nThis application will now exit.");
}
