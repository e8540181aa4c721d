<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name></name>
    <message id="OK">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="NoData">
        <source>No data</source>
        <translation>Нет данных</translation>
    </message>
    <message id="CustomDataSource">
        <source>Custom data source</source>
        <translation>Пользовательский источник</translation>
    </message>
    <message id="CBR-CurrencyDataSource">
        <source>Central Bank of Russia</source>
        <translation>Центральный банк РФ</translation>
    </message>
    <message id="YFinance-CurrencyDataSource">
        <source>Yahoo Finance</source>
        <translation>Yahoo Finance</translation>
    </message>
    <message id="ECB-CurrencyDataSource">
        <source>European Central Bank</source>
        <translation>Европейский центральный банк</translation>
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
        <translation>Банк OCBC</translation>
    </message>
    <message id="BankUa-CurrencyDataSource">
        <source>BankUa</source>
        <translation>BankUa</translation>
    </message>
    <message id="1Day">
        <source>1 day</source>
        <translation>1 день</translation>
    </message>
    <message id="1Week">
        <source>1 week</source>
        <translation>1 неделя</translation>
    </message>
    <message id="1Month">
        <source>1 month</source>
        <translation>1 месяц</translation>
    </message>
    <message id="3Months">
        <source>3 months</source>
        <translation>3 месяца</translation>
    </message>
    <message id="6Months">
        <source>6 months</source>
        <translation>6 месяцев</translation>
    </message>
    <message id="1Year">
        <source>1 year</source>
        <translation>1 год</translation>
    </message>
    <message id="2Years">
        <source>2 years</source>
        <translation>2 года</translation>
    </message>
    <message id="3Years">
        <source>3 years</source>
        <translation>3 года</translation>
    </message>
    <message id="5Years">
        <source>5 years</source>
        <translation>5 лет</translation>
    </message>
    <message id="10Years">
        <source>10 years</source>
        <translation>10 лет</translation>
    </message>
    <message id="OverallPeriod">
        <source>Overall</source>
        <translation>Весь период</translation>
    </message>
    <message id="GBX">
        <source>British penny</source>
        <translation>Британский пенни</translation>
    </message>
    <message id="ZAC">
        <source>South African cent</source>
        <translation>Южноафриканский цент</translation>
    </message>
    <message id="ILA">
        <source>Israeli agora</source>
        <translation>Израильская агора</translation>
    </message>
    <message id="LocationTrackingPurpose">
        <source>Numiva uses your location to choose the base currency of your country.</source>
        <translation>Numiva определяет ваше местоположение, чтобы выбрать валюту вашей страны базовой.</translation>
    </message>
</context>
</TS>
