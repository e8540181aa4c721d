<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name></name>
    <message id="OK">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="NoData">
        <source>No data</source>
        <translation>No data</translation>
    </message>
    <message id="CustomDataSource">
        <source>Custom data source</source>
        <translation>Custom data source</translation>
    </message>
    <message id="CBR-CurrencyDataSource">
        <source>Central Bank of Russia</source>
        <translation>Central Bank of Russia</translation>
    </message>
    <message id="YFinance-CurrencyDataSource">
        <source>Yahoo Finance</source>
        <translation>Yahoo Finance</translation>
    </message>
    <message id="ECB-CurrencyDataSource">
        <source>European Central Bank</source>
        <translation>European Central Bank</translation>
    </message>
    <message id="Bloomberg-CurrencyDataSource">
        <source>Bloomberg</source>
        <translation>Bloomberg</translation>
    </message>
    <message id="PayPal-CurrencyDataSource">
        <source>PayPal</source>
        <translation>PayPal</translation>
    </message>
    <message id="OCBC-CurrencyDataSource">
        <source>OCBC Bank</source>
        <translation>OCBC Bank</translation>
    </message>
    <message id="BankUa-CurrencyDataSource">
        <source>BankUa</source>
        <translation>BankUa</translation>
    </message>
    <message id="1Day">
        <source>1 day</source>
        <translation>1 day</translation>
    </message>
    <message id="1Week">
        <source>1 week</source>
        <translation>1 week</translation>
    </message>
    <message id="1Month">
        <source>1 month</source>
        <translation>1 month</translation>
    </message>
    <message id="3Months">
        <source>3 months</source>
        <translation>3 months</translation>
    </message>
    <message id="6Months">
        <source>6 months</source>
        <translation>6 months</translation>
    </message>
    <message id="1Year">
        <source>1 year</source>
        <translation>1 year</translation>
    </message>
    <message id="2Years">
        <source>2 years</source>
        <translation>2 years</translation>
    </message>
    <message id="3Years">
        <source>3 years</source>
        <translation>3 years</translation>
    </message>
    <message id="5Years">
        <source>5 years</source>
        <translation>5 years</translation>
    </message>
    <message id="10Years">
        <source>10 years</source>
        <translation>10 years</translation>
    </message>
    <message id="OverallPeriod">
        <source>Overall</source>
        <translation>Overall</translation>
    </message>
    <message id="GBX">
        <source>British penny</source>
        <translation>British penny</translation>
    </message>
    <message id="ZAC">
        <source>South African cent</source>
        <translation>South African cent</translation>
    </message>
    <message id="ILA">
        <source>Israeli agora</source>
        <translation>Israeli agora</translation>
    </message>
    <message id="LocationTrackingPurpose">
        <source>Numiva uses your location to choose the base currency of your country.</source>
        <translation>Numiva uses your location to choose the base currency of your country.</translation>
    </message>
</context>
</TS>
