#include "filter/TNetADialogs.h"

#include "filter/TDriverADialog.h"
#include "filter/TNetA.h"
#include "filter/TNetADialog.h"

TNetADialogs::TNetADialogs(THost& host, TNetA& net) : host_(host), net_(net) {}

TNetADialogs::~TNetADialogs() = default;

TNetADialog& TNetADialogs::NetDialog()
{
    if (!netDialog_) {
        netDialog_ = std::make_unique<TNetADialog>(host_, net_);
        netDialog_->KeepPositionIn(netX_, netY_);
    }
    return *netDialog_;
}

TDriverADialog& TNetADialogs::DriverDialog()
{
    if (!driverDialog_) {
        driverDialog_ = std::make_unique<TDriverADialog>(host_, net_);
        driverDialog_->KeepPositionIn(driverX_, driverY_);
        driverDialog_->onLayoutChanged = [this] {
            if (netDialog_ && netDialog_->IsOpen())
                netDialog_->Reload();
        };
    }
    return *driverDialog_;
}

void TNetADialogs::OpenNetDialog()
{
    NetDialog().Rebuild();
    NetDialog().Open();
}

void TNetADialogs::OpenDriverDialog() { DriverDialog().Open(); }

void TNetADialogs::CloseAll()
{
    if (netDialog_)
        netDialog_->Close();
    if (driverDialog_)
        driverDialog_->Close();
}

std::vector<TDialogModel*> TNetADialogs::OpenDialogs() const
{
    std::vector<TDialogModel*> out;
    if (netDialog_ && netDialog_->IsOpen())
        out.push_back(netDialog_.get());
    if (driverDialog_ && driverDialog_->IsOpen())
        out.push_back(driverDialog_.get());
    return out;
}

void TNetADialogs::Reload()
{
    if (netDialog_ && netDialog_->IsOpen())
        netDialog_->Reload();
    if (driverDialog_ && driverDialog_->IsOpen())
        driverDialog_->Reload();
}
