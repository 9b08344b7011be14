#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace suite {

class Connection;
class MessagePresenter;
class SearchPresenter;

// The host's working session: the database connection, the operator and the
// presenters through which the suite talks to the user. The host makes one and
// publishes it as current; suite objects that a component creates (Entorno,
// Utilerias, the kit's lookups) find it there, as they would find the host's
// session in the real suite. Tests make their own and restore the previous one.
class Session
{
public:
    Session();
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    static Session &current();        // throws SuiteError when none is published
    static Session *currentOrNull();
    static void setCurrent(Session *session);

    Connection *connection() const;   // throws SuiteError when none is open
    void setConnection(std::unique_ptr<Connection> connection);

    QString user() const;
    void setUser(const QString &user);

    // Null means: use the kit's own dialog-based presenter.
    MessagePresenter *messages() const;
    void setMessages(MessagePresenter *presenter);
    SearchPresenter *search() const;
    void setSearch(SearchPresenter *presenter);

    // The host's status line, where a screen says what its last command did
    // (Entorno.MuestraEstado); without one the text goes nowhere.
    using StatusLine = std::function<void(const QString &text)>;
    void setStatusLine(StatusLine line);
    void showStatus(const QString &text) const;

    // What a screen lets the search dialogs of one of its queries do with
    // the rows a user marks in them, offered as a button with the caption
    // ("Imprimir etiquetas" for the asset search); the host runs it too, on
    // a list of keys. Set through Entorno.OfreceEnBusqueda.
    struct SearchAction
    {
        QString queryId;
        QString caption;
        std::function<void(const QStringList &keys)> run;
    };
    void addSearchAction(const SearchAction &action); // replaces one of the same query and caption
    void removeSearchAction(const QString &queryId, const QString &caption);
    QList<SearchAction> searchActions(const QString &queryId) const; // any letter case

    // Set through Entorno.ForzarMayusculas: text boxes upper-case what is typed.
    bool forceUpperCase() const;
    void setForceUpperCase(bool on);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace suite
