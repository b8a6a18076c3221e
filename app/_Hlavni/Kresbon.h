// The application object: what the application does for each message of the host.
#pragma once

#include "StdAfx.h"

class CKresbonApp : public AcRxArxApp {
public:
    CKresbonApp() = default;

    AcRx::AppRetCode On_kInitAppMsg(void* pkt) override;
    AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override;
    AcRx::AppRetCode On_kLoadDwgMsg(void* pkt) override;
    AcRx::AppRetCode On_kUnloadDwgMsg(void* pkt) override;
    AcRx::AppRetCode On_kInvkSubrMsg(void* pkt) override;

    void RegisterServerComponents() override {}
};

// The group of the application's commands and the group of the settings command.
#define SKUPINA_PRIKAZU L"TEBU_utility"
#define SKUPINA_NASTAVENI L"TEBU_nastaveni"

// The version and build the load message reports.
#define KRESBON_VERZE L"2025"
#define KRESBON_SESTAVENI 1
