// The splash window: a borderless box with a looping search animation and
// "Collecting information...please wait...", shown at start and during
// every refresh.
#pragma once

#include "ui/Orvex_GuiResources.h"
#include "ui/Orvex_Window.h"

namespace orvex::app {

inline constexpr const char* SplashText = "Collecting information...please wait...";
inline constexpr int SplashClientWidth = 289;
inline constexpr int SplashClientHeight = 41;
inline constexpr const char* SplashClassName = "OrvexSplashWindow";

class Twnd_Splash : public orvex::TWindow {
public:
    Twnd_Splash();
    ~Twnd_Splash() override;

    // Shows the window and paints it at once.
    void ShowNow();
    void HideNow();
    bool Showing() const;

protected:
    LRESULT WindowMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    orvex::TAnchorLayout anchors_;
    orvex::TFont font_;
    orvex::TModule shell_;  // the module the stock animation comes from
};

// Shows the splash window (when there is one) until it goes out of scope.
class TSplashShown {
public:
    explicit TSplashShown(Twnd_Splash* splash) : splash_(splash) {
        if (splash_) splash_->ShowNow();
    }
    TSplashShown(const TSplashShown&) = delete;
    TSplashShown& operator=(const TSplashShown&) = delete;
    ~TSplashShown() {
        if (splash_) splash_->HideNow();
    }

private:
    Twnd_Splash* splash_;
};

}  // namespace orvex::app
