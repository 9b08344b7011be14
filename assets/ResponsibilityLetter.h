#pragma once

namespace xb733 {

class AssetScreen;

// Toolbar button 1, "Carta responsiva": prints the shown asset's
// responsibility letter through the print format the configuration names,
// handing it the asset key. It reads, prints and changes nothing else.
class ResponsibilityLetter
{
public:
    explicit ResponsibilityLetter(const AssetScreen &screen);

    // Every failure is reported through AssetScreen::fail under the button's caption.
    void B1Click();

private:
    void print();

    const AssetScreen &m_screen;
};

} // namespace xb733
