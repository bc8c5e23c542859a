#include "app/service_config.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(IsValidHost, AllowsOnlyHostNamesAndPorts) {
    struct Case {
        const char* value;
        bool valid;
    };
    const Case cases[] = {
        {"127.0.0.1:8717", true}, {"www.example.org", true},
        {"a-b.c", true},          {"host:1", true},
        {"host:65535", true},     {"", false},
        {"host:0", false},        {"host:65536", false},
        {"host:", false},         {":80", false},
        {"http://x", false},      {"x/y", false},
        {"x y", false},           {"x@y", false},
        {"x:80:90", false},       {"погода.рф", false},
        {"x?cl", false},          {"x\\y", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsValidHost(c.value), c.valid) << c.value;
}

TEST(ServiceConfig, DefaultsStayOnLoopback) {
    const ServiceConfig config;
    for (const std::string* host :
         {&config.counterHost, &config.dataHost, &config.mainSite, &config.uaSite, &config.newsSite,
          &config.fanSite, &config.aviaSite, &config.roadSite, &config.monthSite,
          &config.tourismSite}) {
        EXPECT_EQ(host->rfind("127.", 0), 0u) << *host;
        EXPECT_TRUE(IsValidHost(*host)) << *host;
    }
}

}  // namespace
}  // namespace vt
