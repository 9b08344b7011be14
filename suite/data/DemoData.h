#pragma once

namespace suite {

class Connection;

// A small, realistic company to show and test the screen with: catalogues,
// configuration, label and letter formats, search queries and about fifty
// fixed assets with their depreciation history. The same data every time.
class DemoData
{
public:
    // Creates the schema if needed and loads the data, in one transaction.
    // Refuses with SuiteError when the database already holds assets.
    static void load(Connection &connection);

    static int assetCount(); // how many assets load() creates
};

} // namespace suite
