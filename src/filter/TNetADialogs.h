#pragma once
// The two dialogs of one advanced network, made on first use and kept until the network
// goes: the network dialog and the driver set dialog, each reopening where it was last
// closed. A change of the driver count or connection refreshes the open network
// dialog, whose list shows the shunt positions that exist. It goes before its network
// does (the dialogs edit the network; destroying them closes their views).

#include <cstdint>
#include <memory>
#include <vector>

class THost;
class TNetA;
class TNetADialog;
class TDriverADialog;
class TDialogModel;

class TNetADialogs {
public:
    TNetADialogs(THost& host, TNetA& net);
    ~TNetADialogs();
    TNetADialogs(const TNetADialogs&) = delete;
    TNetADialogs& operator=(const TNetADialogs&) = delete;

    TNetADialog& NetDialog();
    TDriverADialog& DriverDialog();
    // Menu commands 13021-13024 and 13011-13014.
    void OpenNetDialog();
    void OpenDriverDialog();
    // Closes both without committing (the network is going away).
    void CloseAll();
    // The open ones; the type or value dialog the network dialog opened is its
    // openChildren.
    std::vector<TDialogModel*> OpenDialogs() const;
    // After a change from outside (a recall, a read, a switch): the open dialogs show
    // the network as it is now.
    void Reload();

private:
    THost& host_;
    TNetA& net_;
    std::unique_ptr<TNetADialog> netDialog_;
    std::unique_ptr<TDriverADialog> driverDialog_;
    std::int16_t netX_ = 0, netY_ = 0, driverX_ = 0, driverY_ = 0;
};
