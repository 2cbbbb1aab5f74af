#include "SaveAsFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace scrivo {
namespace {

TEST(SaveAsFolderTest, OpensBesideTheFileOrWhereTheLearnerLastSaved) {
    struct Case {
        const char *what;
        SaveAsPlaces places;
        const char *folder;
    };
    const std::string examples = "/opt/app/Examples";
    for (const Case &c : {
             Case{"a titled text, even among the examples",
                  {"/opt/app/Examples/ball.c", "/home/ann/c", "/opt/app", examples, "/home/ann"},
                  "/opt/app/Examples"},
             Case{"untitled: the folder last saved into",
                  {"", "/home/ann/c", "/opt/app", examples, "/home/ann"},
                  "/home/ann/c"},
             Case{"untitled, nothing saved yet: the working directory",
                  {"", "", "/opt/app", examples, "/home/ann"},
                  "/opt/app"},
             Case{"untitled, last saved among the examples",
                  {"", "/opt/app/Examples/", "/opt/app", examples, "/home/ann"},
                  "/opt/app"},
             Case{"untitled, started in the examples",
                  {"", "", "/opt/app/./Examples", examples, "/home/ann"},
                  "/home/ann"},
         }) {
        EXPECT_EQ(SaveAsFolder(c.places), c.folder) << c.what;
    }
}

}  // namespace
}  // namespace scrivo
