#include <gtest/gtest.h>

#include <memory>

#include "sample_component.h"
#include "settings/store/stored_props.h"

namespace {

struct BindCase {
    const char* entry;
    const char* boundAs;  // nullptr: the entry is removed
};

const BindCase kEntries[] = {
    {"Edit1.Text", "Edit1.Text"},
    {"  edit1 .  text ", "Edit1.text"},  // component found in any case, parts trimmed
    {"Edit1.Font.Height", "Edit1.Font.Height"},  // split at the first period only
    {"Edit1", nullptr},
    {".Text", nullptr},
    {"Edit1. ", nullptr},
    {"Missing.Text", nullptr},
};

class StoredPropsTest : public ::testing::Test {
protected:
    TComponent form{nullptr};
    TSampleComponent* edit1 = Named("Edit1");
    TSampleComponent* edit2 = Named("Edit2");
    TStringList list;
    TStoredPropBinding binding{list};

    TSampleComponent* Named(const char* name) {
        auto* c = new TSampleComponent(&form);
        c->SetName(name);
        return c;
    }
};

TEST_F(StoredPropsTest, EntriesBindToTheFormsComponentsOrLeave) {
    for (const BindCase& b : kEntries) {
        SCOPED_TRACE(b.entry);
        list.SetItems({b.entry});
        binding.Bind(form);
        auto links = binding.Refresh(form);
        if (!b.boundAs) {
            EXPECT_EQ(list.Count(), 0);
            EXPECT_TRUE(links.empty());
            continue;
        }
        ASSERT_EQ(links.size(), 1u);
        EXPECT_EQ(links[0].Component, edit1);
        EXPECT_EQ(list[0], b.boundAs);
    }
}

TEST_F(StoredPropsTest, RenamedComponentRewritesItsEntryAndDestroyedOneLeaves) {
    list.SetItems({"Edit1.Text", "Edit2.Count", "Edit1.Count"});
    binding.Bind(form);
    edit1->SetName("Folder");
    auto links = binding.Refresh(form);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"Folder.Text", "Edit2.Count", "Folder.Count"}));
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(links[1].Component, edit2);
    EXPECT_EQ(links[2].PropName, "Count");

    binding.Remove(edit1);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"Edit2.Count"}));
    EXPECT_EQ(binding.Refresh(form).size(), 1u);
}

TEST_F(StoredPropsTest, ListChangedFromOutsideIsBoundAgain) {
    list.SetItems({"Edit1.Text"});
    binding.Bind(form);
    list.Add("Edit2.Text");
    list.Add("Nobody.Text");
    auto links = binding.Refresh(form);
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[1].Component, edit2);
    EXPECT_EQ(list.Count(), 2);
}

}  // namespace
