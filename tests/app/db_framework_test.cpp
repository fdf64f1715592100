#include <gtest/gtest.h>

#include "db/db_framework.h"
#include "toolkit/application.h"

TEST(DatabaseFramework, StartsWithADefaultSessionAndInitialisesComThroughTheHook) {
    TApplication application;
    TDatabaseFramework framework;
    framework.Startup(application);
    ASSERT_NE(framework.DefaultSession(), nullptr);
    EXPECT_EQ(framework.DefaultSession()->SessionName(), "Default");
    EXPECT_EQ(framework.Sessions().Count(), 1);
    EXPECT_FALSE(framework.ComInitialized());  // only once the application runs its hooks
    application.Initialize();
    EXPECT_TRUE(framework.ComInitialized());
    framework.Shutdown();
    EXPECT_FALSE(framework.ComInitialized());
    EXPECT_EQ(framework.Sessions().Count(), 0);
    framework.Shutdown();  // a second shutdown is harmless
}

TEST(DatabaseFramework, ALibraryInstallsNoHook) {
    TApplication application;
    TDatabaseFramework framework;
    framework.Startup(application, true);
    application.Initialize();
    EXPECT_FALSE(framework.ComInitialized());
    EXPECT_TRUE(framework.Started());
}
