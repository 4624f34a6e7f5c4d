#include "mainwin/caption.h"

#include <gtest/gtest.h>

TEST(MainWindowCaption, NamesProgramAndVersion)
{
    EXPECT_EQ(tavil::mainwin::mainWindowCaption().toStdString(), "Tavil Ver 1.0");
}
