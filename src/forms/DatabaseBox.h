#pragma once

#include <QComboBox>

#include <functional>

// The database box: typed into, or chosen from the databases the login may open, which are
// read when the list is first opened for a server and login (`listWanted` starts that and
// shows the list again once it is filled).
class DatabaseBox : public QComboBox {
public:
    explicit DatabaseBox(QWidget* parent);

    std::function<void()> listWanted;
    // The list, from now on opening without asking again.
    void setList(const QStringList& names);
    // The server or the login changed: the list is read again when next opened.
    void forgetList() { listed_ = false; }

    void showPopup() override;

private:
    bool listed_ = false;
};
