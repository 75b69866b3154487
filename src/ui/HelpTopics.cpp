#include "ui/HelpTopics.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

struct Topic
{
    int id;
    QStringView text;
};

// Kept in id order.
constexpr std::array kTopics{
    Topic{HelpTopics::StocksTab,
          u"The Stocks tab lists the stocks you follow. For each one it shows the name, the change since the "
          u"previous close with the change in percent, the latest price, the volume traded and the time of the "
          u"quote. A green arrow marks a rise, a red arrow a fall, and a greyed stock is disabled.\n\n"
          u"Add opens a small form where you choose the country and enter the symbol and the names of a new "
          u"stock; Edit changes the selected stock, and Remove takes it off the list together with its rules. "
          u"Disable keeps a stock on the list and updates its price, but leaves it out of the spoken "
          u"broadcast; Enable brings it back.\n\n"
          u"Click a column heading to sort the list by that column, and click it a second time to reverse the "
          u"order. Unsort returns to your own order, which you arrange with the two arrow buttons (or Alt+Up "
          u"and Alt+Down).\n\n"
          u"Read has {character} say the selected stock's price now. Add Rule starts a new rule for the selected "
          u"stock, so that you are told when its price, change or volume passes a limit. Chart and News "
          u"Stories open the stock's pages in your web browser."},
    Topic{HelpTopics::RulesTab,
          u"A rule watches one stock for you. It sets a limit on the stock's price, change, change in percent "
          u"or volume: for example \"price greater than 50\" as a high limit, or \"price less than 20\" as a low "
          u"one. Changes are compared by their size, so \"change greater than 2\" holds for a rise of 3 and for "
          u"a fall of 3 alike.\n\n"
          u"Add creates a rule, Edit changes the selected one and Remove deletes it. Each rule names an "
          u"announcement: the gesture and the words {character} uses when the rule holds.\n\n"
          u"After the prices are updated, Quorvane checks every rule (once a minute unless you chose another "
          u"interval in the Options). When a rule holds, a line is added to the Alerts tab, the tray icon turns "
          u"to the alert icon and {character} makes the rule's announcement."},
    Topic{HelpTopics::AlertsTab,
          u"An alert is added here whenever one of your rules holds after a price update. The newest alert "
          u"is at the top.\n\n"
          u"Each alert shows the rule that fired, the price of the stock at that moment and the time of the "
          u"quote. While a rule keeps holding, its alert is brought up to date and moves back to the top "
          u"whenever the price or the time changes; a rule never has more than one alert.\n\n"
          u"Remove deletes the selected alerts and Remove All empties the list. Edit Rule opens the rule of "
          u"the selected alert, so you can move its limit.\n\n"
          u"The alerts stay until you remove them, also when you quit Quorvane. So when you come back to your "
          u"computer, this tab tells you what happened while you were away."},
    Topic{HelpTopics::EditRule,
          u"Here you set up one rule.\n\n"
          u"First choose the stock the rule watches. Then build the condition: what to look at (the price, the "
          u"change, the change in percent or the volume), how to compare it (greater than, at least, less than, "
          u"at most or equal to) and the number to compare it with.\n\n"
          u"Last, choose the announcement {character} makes when the rule holds. The Announcements button opens "
          u"the list of announcements, where you can add your own, change one or try it out before you pick "
          u"it."},
    Topic{HelpTopics::EditAnnouncements,
          u"An announcement is what {character} does when a rule holds: a gesture with words before it, and "
          u"another gesture with words after it. Each announcement has a name, which the rules use to refer to "
          u"it.\n\n"
          u"Choose a gesture from the list for each half (or none), and type the words to say. Preview "
          u"performs the announcement so you can hear it.\n\n"
          u"Three words in capitals are replaced when the announcement is made: STOCK by the name of the "
          u"rule's stock as it is spoken, PRICE by its latest price and CHANGE by its latest change. For "
          u"example \"STOCK is up CHANGE, at PRICE\" might be said as \"Example Corp is up 1.25, at 52.50\"."},
    Topic{HelpTopics::EditStock,
          u"Here you enter one stock.\n\n"
          u"Country is the market the stock is traded on; it chooses where the quotes come from and how prices "
          u"are read out. Where the quotes of a country come in real time, the form says \"Realtime quote "
          u"available\"; elsewhere they are delayed by a few minutes.\n\n"
          u"Stock Name is the short name shown in the lists and on the Stock Strip: keep it short, so that more "
          u"stocks fit on the strip at once. Say name as is the name as {character} should say it; spell it the "
          u"way it sounds if the written form is read out oddly, or leave it empty to have the stock name "
          u"read.\n\n"
          u"Stock Symbol is the ticker symbol the market uses for the stock. If you do not know it, Lookup "
          u"Symbol opens a search page for the country in your web browser."},
    Topic{HelpTopics::StockStrip,
          u"The Stock Strip is a thin band along the top or the bottom edge of the screen that shows your "
          u"enabled stocks, each with its price and change. Other windows keep out of its way, so it stays in "
          u"view while you work.\n\n"
          u"The colours tell at a glance which way each stock went, a stock whose price moved by more than the "
          u"percentage you chose is shown in bold, and a mark beside a stock tells that it has an alert.\n\n"
          u"When not all your stocks fit across the screen, the strip shows them in sets. Click the strip to "
          u"go back to the previous set, or hold Shift while you click to see the next one; it can also move "
          u"on by itself every few seconds. Drag the strip to the other edge of the screen to move it there. "
          u"Right-click the strip for its menu. Its look and place are set on the Strip page of the Options."},
    Topic{HelpTopics::StripOptions,
          u"This page sets up the Stock Strip.\n\n"
          u"The colours are those of the strip's background, of the stock names and prices, and of the changes: "
          u"one colour for no change, one for a rise and one for a fall. Click a \"...\" button to choose a "
          u"colour.\n\n"
          u"Show Stock Strip turns the strip on or off. Hide during inactive hours keeps it out of sight "
          u"outside the active hours set on the General page. Choose whether the strip runs along the top or "
          u"the bottom of the screen.\n\n"
          u"A stock whose price changed by more than the percentage you enter can be shown in bold. When your "
          u"stocks do not fit on the strip at once, it can move on to the next set of stocks by itself, "
          u"pausing for the number of seconds you enter on each set."},
    Topic{HelpTopics::BroadcastOptions,
          u"A broadcast is {character} reading out the latest prices of your enabled stocks, like a short news "
          u"bulletin.\n\n"
          u"When the periodic broadcast is on, it comes every 30 minutes unless you choose another interval, "
          u"falling on the clock: with 30 minutes on the hour and the half hour, with 60 minutes on the hour, "
          u"and so on. Just before each broadcast the prices are updated. No broadcast is heard while the "
          u"Quiet button is pushed in; the Broadcast button still reads the prices when you press it.\n\n"
          u"{character} can begin by telling the time. Choose the gesture and the words that open and close the "
          u"broadcast, and what to say when no price has changed since the last broadcast.\n\n"
          u"The broadcast format is the sentence said for each stock. STOCK, PRICE and CHANGE in it are "
          u"replaced by the stock's spoken name, price and change."},
    Topic{HelpTopics::RulesOptions,
          u"This page sets how often Quorvane checks your rules, with the prices updated just before: once a "
          u"minute unless you choose another interval. Turn the check off and your rules are no longer checked "
          u"on their own; the prices are still updated before each scheduled broadcast, and the Broadcast "
          u"button still updates them, reads them out and checks the rules when you press it.\n\n"
          u"Read announcements has {character} perform a rule's announcement when the rule holds; without it, "
          u"alerts are added silently.\n\n"
          u"Read just once announces a rule only when its alert is new. As long as the alert stays on the "
          u"Alerts tab, the rule is not announced again; remove the alert to hear it the next time.\n\n"
          u"The Quiet button on the tool bar silences {character} for the scheduled broadcasts and the "
          u"announcements until you press it again."},
    Topic{HelpTopics::GeneralOptions,
          u"This page holds the general settings.\n\n"
          u"The primary country is the market proposed for new stocks; its main indices make up the first "
          u"list of stocks. Prices can be shown with decimals or, where the market uses them, with "
          u"fractions. You can also choose the two colours of the alternating rows of the Stocks tab.\n\n"
          u"Start automatically when you log in adds Quorvane to your desktop session's start-up programs. "
          u"It then starts with its window hidden; the tray icon, the Stock Strip and {character} show that it "
          u"is running.\n\n"
          u"The active hours are the hours, and optionally only the weekdays, in which Quorvane updates "
          u"prices and broadcasts on its own. Set them to the opening hours of your market, so that it is "
          u"quiet when the market is closed."},
    Topic{HelpTopics::CharacterOptions,
          u"Pennywit is Quorvane's own character, drawn for it and brought to life by Quorvane's own character "
          u"engine. You can choose any other character file (.acs) that you have installed in Quorvane's "
          u"characters folder. Preview shows the gestures of the chosen character and lets you try them; Other "
          u"Characters opens the user guide's page on where to put more characters.\n\n"
          u"Position is the place on the screen where the character appears; Stay In Place leaves it where "
          u"you last dragged it.\n\n"
          u"Behavior chooses how the character speaks: aloud with a word balloon, aloud without one, in a "
          u"thought balloon without voice, or not at all. The two sliders set the speed and the pitch of the "
          u"voice.\n\n"
          u"Always show character keeps it on the screen between broadcasts. Animate character plays its "
          u"short arrival and departure animations when it shows and hides."},
    Topic{HelpTopics::ConnectionOptions,
          u"This page tells Quorvane how your computer reaches the Internet.\n\n"
          u"Choose LAN when the computer is connected through a network, Wi-Fi or a broadband line, and also "
          u"when a program of your provider dials the connection for you: then connect by hand before the "
          u"updates.\n\n"
          u"Choose modem when you use a dial-up, mobile broadband or similar connection managed by "
          u"NetworkManager. Quorvane can then start the connection for an update when none is up, and hang "
          u"it up again afterwards. When there is no connection and dialling is off, the status bar reads "
          u"\"No Connection\" with the time; when the quotes could not be fetched it reads \"Error during "
          u"update\".\n\n"
          u"If you reach the web through an HTTP proxy, enter its address and port. Leave both empty to use "
          u"your system's settings. Proxies that ask for a user name and password are not supported."},
    Topic{HelpTopics::Overview,
          u"Quorvane follows the stocks you choose and tells you about them in three ways: in this window, on "
          u"the Stock Strip along the edge of the screen, and through {character}, who reads the prices aloud.\n\n"
          u"The large buttons: Broadcast updates the prices, reads them out and checks your rules at once. "
          u"Options opens the settings. Hide sends {character} away and cuts short what was being said. Quiet "
          u"keeps {character} silent for the scheduled broadcasts and announcements until you press it again.\n\n"
          u"The three tabs: Stocks lists your stocks and their latest prices; Rules holds the limits you set "
          u"on them; Alerts lists what your rules found. Alt+S, Alt+R and Alt+L switch between them, and so do "
          u"Ctrl+Tab and Ctrl+Shift+Tab.\n\n"
          u"Closing this window does not end Quorvane: it goes on in the tray (on a desktop without a tray, "
          u"in the task bar). Double-click the tray icon to bring the window back, and choose Exit from the "
          u"menu to quit."},
};

} // namespace

namespace HelpTopics {

std::span<const int> Ids()
{
    static const std::array<int, kTopics.size()> ids = [] {
        std::array<int, kTopics.size()> result{};
        for (std::size_t i = 0; i < kTopics.size(); ++i)
            result[i] = kTopics[i].id;
        return result;
    }();
    return ids;
}

QString Text(int topicId, const QString& characterName)
{
    for (const Topic& topic : kTopics) {
        if (topic.id == topicId) {
            QString text = topic.text.toString();
            return text.replace(u"{character}"_s, characterName.isEmpty() ? u"the character"_s : characterName);
        }
    }
    return QString();
}

} // namespace HelpTopics
