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
    <message id="ReleaseToRefresh">
        <source>Release to refresh…</source>
        <translation>Release to refresh…</translation>
    </message>
    <message id="PullDownToRefresh">
        <source>Pull down to refresh…</source>
        <translation>Pull down to refresh…</translation>
    </message>
    <message id="Loading">
        <source>Loading…</source>
        <translation>Loading…</translation>
    </message>
    <message id="UpToDate">
        <source>Up to date</source>
        <translation>Up to date</translation>
    </message>
    <message id="NeverUpdated">
        <source>Never updated</source>
        <translation>Never updated</translation>
    </message>
    <message id="LastUpdated">
        <source>Last updated: %1</source>
        <translation>Last updated: %1</translation>
    </message>
    <message id="Conversion">
        <source>Conversion</source>
        <translation>Conversion</translation>
    </message>
    <message id="CurrencyInfoViewTitle">
        <source>Exchange rates</source>
        <translation>Exchange rates</translation>
    </message>
    <message id="AddNewCurrency">
        <source>Add currencies</source>
        <translation>Add currencies</translation>
    </message>
    <message id="BaseCurrency">
        <source>Base currency</source>
        <translation>Base currency</translation>
    </message>
    <message id="Direct">
        <source>Direct</source>
        <translation>Direct</translation>
    </message>
    <message id="Inverse">
        <source>Inverse</source>
        <translation>Inverse</translation>
    </message>
    <message id="Back">
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message id="Edit">
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message id="Done">
        <source>Done</source>
        <translation>Done</translation>
    </message>
    <message id="Cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="Settings">
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message id="Converter">
        <source>Converter</source>
        <translation>Converter</translation>
    </message>
    <message id="CurrencyUnavailable">
        <source>This currency is not offered by the selected data sources</source>
        <translation>This currency is not offered by the selected data sources</translation>
    </message>
    <message id="ChartDataUnavailableForDatasource">
        <source>Charts are not available for this data source</source>
        <translation>Charts are not available for this data source</translation>
    </message>
    <message id="SelectCurrencies">
        <source>Select currencies</source>
        <translation>Select currencies</translation>
    </message>
    <message id="SelectCurrency">
        <source>Select currency</source>
        <translation>Select currency</translation>
    </message>
    <message id="CurrenciesAvailableInDatasource">
        <source>Currencies available: %1</source>
        <translation>Currencies available: %1</translation>
    </message>
    <message id="CurrencyNotSelected">
        <source>No currency is selected</source>
        <translation>No currency is selected</translation>
    </message>
    <message id="Search">
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message id="Copy">
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message id="Delete">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="NoSearchResults">
        <source>No currencies found</source>
        <translation>No currencies found</translation>
    </message>
    <message id="TutorialPullToRefresh">
        <source>Pull the list down to refresh the rates</source>
        <translation>Pull the list down to refresh the rates</translation>
    </message>
    <message id="TutorialTapToConvert">
        <source>Tap a currency to convert an amount</source>
        <translation>Tap a currency to convert an amount</translation>
    </message>
    <message id="TutorialEditList">
        <source>Add, remove and reorder currencies</source>
        <translation>Add, remove and reorder currencies</translation>
    </message>
    <message id="TutorialSettings">
        <source>Choose the base currency and data sources</source>
        <translation>Choose the base currency and data sources</translation>
    </message>
    <message id="TutorialTapToClose">
        <source>Tap anywhere to start</source>
        <translation>Tap anywhere to start</translation>
    </message>
    <message id="InvalidDataFormat">
        <source>The data source answered in a format Numiva cannot read.</source>
        <translation>The data source answered in a format Numiva cannot read.</translation>
    </message>
    <message id="NoChartData">
        <source>There is no chart data for this pair and period.</source>
        <translation>There is no chart data for this pair and period.</translation>
    </message>
    <message id="UnknownPaypalError">
        <source>PayPal could not convert the currencies.</source>
        <translation>PayPal could not convert the currencies.</translation>
    </message>
    <message id="CBR-CurrencyDataSourceDescription">
        <source>No account needed · %1 currencies and metals · charts</source>
        <translation>No account needed · %1 currencies and metals · charts</translation>
    </message>
    <message id="YFinance-CurrencyDataSourceDescription">
        <source>No account needed · %1 currencies and metals · charts · Yahoo retired this service in 2017</source>
        <translation>No account needed · %1 currencies and metals · charts · Yahoo retired this service in 2017</translation>
    </message>
    <message id="ECB-CurrencyDataSourceDescription">
        <source>No account needed · %1 currencies · charts</source>
        <translation>No account needed · %1 currencies · charts</translation>
    </message>
    <message id="Bloomberg-CurrencyDataSourceDescription">
        <source>No account needed · %1 currencies · charts</source>
        <translation>No account needed · %1 currencies · charts</translation>
    </message>
    <message id="PayPal-CurrencyDataSourceDescription">
        <source>Needs a PayPal API account · %1 currencies · no charts</source>
        <translation>Needs a PayPal API account · %1 currencies · no charts</translation>
    </message>
    <message id="OCBC-CurrencyDataSourceDescription">
        <source>No account needed · %1 currencies · no charts</source>
        <translation>No account needed · %1 currencies · no charts</translation>
    </message>
    <message id="BankUa-CurrencyDataSourceDescription">
        <source>No account needed · %1 currencies and metals · no charts</source>
        <translation>No account needed · %1 currencies and metals · no charts</translation>
    </message>
    <message id="SettingsSaveFailedMessage">
        <source>The settings could not be saved to %1: %2. The previous settings are kept.</source>
        <translation>The settings could not be saved to %1: %2. The previous settings are kept.</translation>
    </message>
    <message id="StoreUnavailableMessage">
        <source>%1 cannot be used now (%2). It is left as it is.</source>
        <translation>%1 cannot be used now (%2). It is left as it is.</translation>
    </message>
    <message id="StoreDamagedMessage">
        <source>%1 was damaged and could not be read. It is kept as %2; a new one was started.</source>
        <translation>%1 was damaged and could not be read. It is kept as %2; a new one was started.</translation>
    </message>
    <message id="StoreNewerVersionMessage">
        <source>%1 was saved by a newer version of Numiva. It is left as it is and only read.</source>
        <translation>%1 was saved by a newer version of Numiva. It is left as it is and only read.</translation>
    </message>
    <message id="StoreSaveFailedMessage">
        <source>Changes could not be saved to %1: %2</source>
        <translation>Changes could not be saved to %1: %2</translation>
    </message>
    <message id="FileWriteFailedMessage">
        <source>%1 could not be written: %2</source>
        <translation>%1 could not be written: %2</translation>
    </message>
    <message id="Frankfurter-CurrencyDataSource">
        <source>Frankfurter (central banks)</source>
        <translation>Frankfurter (central banks)</translation>
    </message>
    <message id="CurrencyApi-CurrencyDataSource">
        <source>Exchange API (daily files)</source>
        <translation>Exchange API (daily files)</translation>
    </message>
    <message id="Frankfurter-CurrencyDataSourceDescription">
        <source>No account needed · %1 currencies · charts from 1999</source>
        <translation>No account needed · %1 currencies · charts from 1999</translation>
    </message>
    <message id="CurrencyApi-CurrencyDataSourceDescription">
        <source>No account needed · %1 currencies and metals · no charts</source>
        <translation>No account needed · %1 currencies and metals · no charts</translation>
    </message>
    <message id="FrankfurterInvalidAnswer">
        <source>Frankfurter sent an answer that could not be read.</source>
        <translation>Frankfurter sent an answer that could not be read.</translation>
    </message>
    <message id="CurrencyApiInvalidAnswer">
        <source>The exchange rate file could not be read.</source>
        <translation>The exchange rate file could not be read.</translation>
    </message>
    <message id="CurrencyDataSource">
        <source>Data source</source>
        <translation>Data source</translation>
    </message>
    <message id="BaseCurrencyAutoSelect">
        <source>Base currency of my location</source>
        <translation>Base currency of my location</translation>
    </message>
    <message id="CurrenciesAvailable">
        <source>Currencies available: %1</source>
        <translation>Currencies available: %1</translation>
    </message>
    <message id="AddSource">
        <source>Add source</source>
        <translation>Add source</translation>
    </message>
    <message id="ConversionFee">
        <source>Conversion fee</source>
        <translation>Conversion fee</translation>
    </message>
    <message id="SubtractFee">
        <source>Subtract fee</source>
        <translation>Subtract fee</translation>
    </message>
    <message id="ConversionFeeFooter">
        <source>The fee is a markup in percent on the provider's mid-market rate; with “Subtract fee” it is a discount instead.</source>
        <translation>The fee is a markup in percent on the provider's mid-market rate; with “Subtract fee” it is a discount instead.</translation>
    </message>
    <message id="RequestCurrency">
        <source>Request a currency</source>
        <translation>Request a currency</translation>
    </message>
    <message id="Info">
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message id="BaseCurrencyUnavailable">
        <source>The base currency is not offered by this source. Choose another base currency?</source>
        <translation>The base currency is not offered by this source. Choose another base currency?</translation>
    </message>
    <message id="Yes">
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message id="No">
        <source>No</source>
        <translation>No</translation>
    </message>
    <message id="InvalidPercentValue">
        <source>Enter a percentage from 0 to 100</source>
        <translation>Enter a percentage from 0 to 100</translation>
    </message>
    <message id="DataSourceAlreadyExists">
        <source>This source has been added already</source>
        <translation>This source has been added already</translation>
    </message>
    <message id="CannotSendEmail">
        <source>Mail cannot be sent: no mail program is set up</source>
        <translation>Mail cannot be sent: no mail program is set up</translation>
    </message>
    <message id="CannotSendSms">
        <source>Text messages cannot be sent: no messaging program is set up</source>
        <translation>Text messages cannot be sent: no messaging program is set up</translation>
    </message>
    <message id="SupportEmailAddress">
        <source>support@numiva.app</source>
        <translation>support@numiva.app</translation>
    </message>
    <message id="InvalidCurrencyCode">
        <source>This is not an ISO 4217 currency code</source>
        <translation>This is not an ISO 4217 currency code</translation>
    </message>
    <message id="CurrencyContainedInDataSource">
        <source>This currency is offered already by: %1</source>
        <translation>This currency is offered already by: %1</translation>
    </message>
    <message id="NoRequestedCurrency">
        <source>Enter at least one currency code</source>
        <translation>Enter at least one currency code</translation>
    </message>
    <message id="EnterRequestedCurrencyCode">
        <source>Currency code (ISO 4217)</source>
        <translation>Currency code (ISO 4217)</translation>
    </message>
    <message id="Submit">
        <source>Submit</source>
        <translation>Submit</translation>
    </message>
    <message id="EnterDataSourceAddress">
        <source>Feed address</source>
        <translation>Feed address</translation>
    </message>
    <message id="SampleDataSourceTipN">
        <source>A source is an XML rate feed in Numiva's format, served over http or https. A sample: %1</source>
        <translation>A source is an XML rate feed in Numiva's format, served over http or https. A sample: %1</translation>
    </message>
    <message id="PasteSampleAddress">
        <source>Use the sample address</source>
        <translation>Use the sample address</translation>
    </message>
    <message id="InvalidUrl">
        <source>Enter a full http or https address</source>
        <translation>Enter a full http or https address</translation>
    </message>
    <message id="MailProgramMissing">
        <source>The mail program could not be started</source>
        <translation>The mail program could not be started</translation>
    </message>
    <message id="MailProgramFailed">
        <source>The mail program could not open the message</source>
        <translation>The mail program could not open the message</translation>
    </message>
    <message id="AttachmentNotSaved">
        <source>The attachment could not be saved</source>
        <translation>The attachment could not be saved</translation>
    </message>
    <message id="AttachmentSavedAt">
        <source>Attached file, in case your mail program left it out: %1</source>
        <translation>Attached file, in case your mail program left it out: %1</translation>
    </message>
    <message id="MessageProgramFailed">
        <source>The messaging program could not open the message</source>
        <translation>The messaging program could not open the message</translation>
    </message>
    <message id="RequestCurrencyHint">
        <source>Type the code of a currency that no source offers and press Return. Submit mails the list to support.</source>
        <translation>Type the code of a currency that no source offers and press Return. Submit mails the list to support.</translation>
    </message>
    <message id="AnswerWithoutDollar">
        <source>The answer held no usable rate for the US dollar, which every rate is converted through.</source>
        <translation>The answer held no usable rate for the US dollar, which every rate is converted through.</translation>
    </message>
    <message id="AnswerWithoutRates">
        <source>The answer held no usable rates.</source>
        <translation>The answer held no usable rates.</translation>
    </message>
    <message id="Close">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="Email">
        <source>Email</source>
        <translation>Email</translation>
    </message>
    <message id="Print">
        <source>Print</source>
        <translation>Print</translation>
    </message>
    <message id="OpenIn">
        <source>Open in…</source>
        <translation>Open in…</translation>
    </message>
    <message id="ShareChartData">
        <source>Share chart data</source>
        <translation>Share chart data</translation>
    </message>
    <message id="LoadingChartData">
        <source>Loading chart data…</source>
        <translation>Loading chart data…</translation>
    </message>
    <message id="NoChartDataForCurrencyPair">
        <source>No chart data for this currency pair</source>
        <translation>No chart data for this currency pair</translation>
    </message>
    <message id="CurrencyAPerBPeriodN">
        <source>%1/%2, %3</source>
        <translation>%1/%2, %3</translation>
    </message>
    <message id="LatestDateAValueB">
        <source>Latest: %2 (%1)</source>
        <translation>Latest: %2 (%1)</translation>
    </message>
    <message id="HighestDateAValueB">
        <source>Highest: %2 (%1)</source>
        <translation>Highest: %2 (%1)</translation>
    </message>
    <message id="LowestDateAValueB">
        <source>Lowest: %2 (%1)</source>
        <translation>Lowest: %2 (%1)</translation>
    </message>
    <message id="CurrencyPair">
        <source>Currency pair</source>
        <translation>Currency pair</translation>
    </message>
    <message id="SelectCurrencyPairPrompt">
        <source>Select two currencies</source>
        <translation>Select two currencies</translation>
    </message>
    <message id="NoProgramOpensFileA">
        <source>No program opens this file. It is saved as %1</source>
        <translation>No program opens this file. It is saved as %1</translation>
    </message>
    <message id="DataDirectoryUnknownMessage">
        <source>Nothing can be saved: no data folder is known (set HOME or NUMIVA_DATA_DIR).%1</source>
        <translation>Nothing can be saved: no data folder is known (set HOME or NUMIVA_DATA_DIR).%1</translation>
    </message>
    <message id="DataDirectoryIsFileMessage">
        <source>Nothing can be saved: %1 is a file, not a folder.</source>
        <translation>Nothing can be saved: %1 is a file, not a folder.</translation>
    </message>
    <message id="DataDirectoryCannotBeCreatedMessage">
        <source>Nothing can be saved: the folder %1 cannot be created.</source>
        <translation>Nothing can be saved: the folder %1 cannot be created.</translation>
    </message>
    <message id="DataDirectoryReadOnlyMessage">
        <source>Nothing can be saved: the folder %1 is read-only.</source>
        <translation>Nothing can be saved: the folder %1 is read-only.</translation>
    </message>
    <message id="FailureHostNotFound">
        <source>The server %1 cannot be found</source>
        <translation>The server %1 cannot be found</translation>
    </message>
    <message id="FailureCannotConnect">
        <source>Cannot connect to %1</source>
        <translation>Cannot connect to %1</translation>
    </message>
    <message id="FailureSecureConnection">
        <source>The secure connection to %1 failed</source>
        <translation>The secure connection to %1 failed</translation>
    </message>
    <message id="FailureTimedOut">
        <source>%1 did not answer in time</source>
        <translation>%1 did not answer in time</translation>
    </message>
    <message id="FailureStatus">
        <source>The service answered %1 (%2)</source>
        <translation>The service answered %1 (%2)</translation>
    </message>
    <message id="FailureNotUnderstood">
        <source>The answer was not understood</source>
        <translation>The answer was not understood</translation>
    </message>
    <message id="SourceFailedMessage">
        <source>%1 could not be updated. %2. The last stored rates are shown.</source>
        <translation>%1 could not be updated. %2. The last stored rates are shown.</translation>
    </message>
    <message id="FailureConnectionClosed">
        <source>%1 closed the connection</source>
        <translation>%1 closed the connection</translation>
    </message>
    <message id="CanceledByUser">
        <source>Cancelled by the user</source>
        <translation>Cancelled by the user</translation>
    </message>
    <message id="CannotOpenBrowser">
        <source>No web browser could be opened</source>
        <translation>No web browser could be opened</translation>
    </message>
    <message id="FacebookNotConfigured">
        <source>Posting to Facebook is not set up in this build</source>
        <translation>Posting to Facebook is not set up in this build</translation>
    </message>
    <message id="FacebookSignInFailed">
        <source>Signing in to Facebook failed</source>
        <translation>Signing in to Facebook failed</translation>
    </message>
    <message id="AboutUs">
        <source>About</source>
        <translation>About</translation>
    </message>
    <message id="RateThisApp">
        <source>Rate Numiva</source>
        <translation>Rate Numiva</translation>
    </message>
    <message id="Support">
        <source>Support</source>
        <translation>Support</translation>
    </message>
    <message id="AllProducts">
        <source>All our products</source>
        <translation>All our products</translation>
    </message>
    <message id="ShareFacebook">
        <source>Share on Facebook</source>
        <translation>Share on Facebook</translation>
    </message>
    <message id="TweetAbout">
        <source>Tweet about Numiva</source>
        <translation>Tweet about Numiva</translation>
    </message>
    <message id="InviteByMail">
        <source>Invite by mail</source>
        <translation>Invite by mail</translation>
    </message>
    <message id="InviteBySms">
        <source>Invite by text message</source>
        <translation>Invite by text message</translation>
    </message>
    <message id="FollowFacebook">
        <source>Numiva on Facebook</source>
        <translation>Numiva on Facebook</translation>
    </message>
    <message id="FollowTwitter">
        <source>Numiva on Twitter</source>
        <translation>Numiva on Twitter</translation>
    </message>
    <message id="InviteFriends">
        <source>Invite friends</source>
        <translation>Invite friends</translation>
    </message>
    <message id="SocialNetworks">
        <source>Social networks</source>
        <translation>Social networks</translation>
    </message>
    <message id="AboutProgram">
        <source>About</source>
        <translation>About</translation>
    </message>
    <message id="AboutDescription">
        <source>Exchange rates from many sources, a converter and rate charts.</source>
        <translation>Exchange rates from many sources, a converter and rate charts.</translation>
    </message>
    <message id="VersionFormat">
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message id="InviteMailSubject">
        <source>Have a look at Numiva</source>
        <translation>Have a look at Numiva</translation>
    </message>
    <message id="InviteTextCopied">
        <source>The invitation is copied: paste it into any messenger.</source>
        <translation>The invitation is copied: paste it into any messenger.</translation>
    </message>
    <message id="CannotOpenAddress">
        <source>This address cannot be opened: no browser is set up</source>
        <translation>This address cannot be opened: no browser is set up</translation>
    </message>
    <message id="MessagePostSuccess">
        <source>The message is posted</source>
        <translation>The message is posted</translation>
    </message>
    <message id="CannotPostMessage">
        <source>The message cannot be posted: %1</source>
        <translation>The message cannot be posted: %1</translation>
    </message>
    <message id="RatingPromptTitle">
        <source>Rate Numiva</source>
        <translation>Rate Numiva</translation>
    </message>
    <message id="RatingPromptMessage">
        <source>If you like Numiva, would you take a moment to rate it? Thank you for your support!</source>
        <translation>If you like Numiva, would you take a moment to rate it? Thank you for your support!</translation>
    </message>
    <message id="RatingPromptRate">
        <source>Rate Numiva</source>
        <translation>Rate Numiva</translation>
    </message>
    <message id="RatingPromptLater">
        <source>Remind me later</source>
        <translation>Remind me later</translation>
    </message>
    <message id="RatingPromptNever">
        <source>No, thanks</source>
        <translation>No, thanks</translation>
    </message>
    <message id="CopyValue">
        <source>Copy value</source>
        <translation>Copy value</translation>
    </message>
    <message id="CopyRow">
        <source>Copy row</source>
        <translation>Copy row</translation>
    </message>
    <message id="ShowChart">
        <source>Chart</source>
        <translation>Chart</translation>
    </message>
    <message id="RemoveCurrency">
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message id="ClearSearch">
        <source>Clear search</source>
        <translation>Clear search</translation>
    </message>
    <message id="DeleteLastDigit">
        <source>Delete last digit</source>
        <translation>Delete last digit</translation>
    </message>
    <message id="ClearAmount">
        <source>Clear amount</source>
        <translation>Clear amount</translation>
    </message>
    <message id="DecimalSeparatorKey">
        <source>Decimal separator</source>
        <translation>Decimal separator</translation>
    </message>
    <message id="RateList">
        <source>Currency rates</source>
        <translation>Currency rates</translation>
    </message>
    <message id="AccessibleRateRowABC">
        <source>%1, %2 %3</source>
        <translation>%1, %2 %3</translation>
    </message>
    <message id="ChartButton">
        <source>Chart</source>
        <translation>Chart</translation>
    </message>
    <message id="ChartSourceFailedMessage">
        <source>%1 could not be updated. %2. The last stored chart is shown.</source>
        <translation>%1 could not be updated. %2. The last stored chart is shown.</translation>
    </message>
    <message id="SourceFailedOthersFreshMessage">
        <source>%1 could not be updated. %2. Its last stored rates are shown beside the fresh rates of the other sources.</source>
        <translation>%1 could not be updated. %2. Its last stored rates are shown beside the fresh rates of the other sources.</translation>
    </message>
    <message id="SourcesFailedOthersFreshMessage">
        <source>%1 could not be updated. %2. Their last stored rates are shown beside the fresh rates of the other sources.</source>
        <translation>%1 could not be updated. %2. Their last stored rates are shown beside the fresh rates of the other sources.</translation>
    </message>
    <message id="FurtherSources">
        <source>Further sources</source>
        <translation>Further sources</translation>
    </message>
    <message id="FurtherSourcesFooter">
        <source>A currency the active source lacks is taken from the first further source that offers it.</source>
        <translation>A currency the active source lacks is taken from the first further source that offers it.</translation>
    </message>
    <message id="AddFurtherSource">
        <source>Add further source</source>
        <translation>Add further source</translation>
    </message>
    <message id="MoveUp">
        <source>Move up</source>
        <translation>Move up</translation>
    </message>
    <message id="MoveDown">
        <source>Move down</source>
        <translation>Move down</translation>
    </message>
    <message id="RemoveFurtherSource">
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message id="CurrencyFromSource">
        <source>from %1</source>
        <translation>from %1</translation>
    </message>
    <message id="ConversionDateInvalid">
        <source>Not a date.</source>
        <translation>Not a date.</translation>
    </message>
    <message id="ConversionDateInFuture">
        <source>%1 is in the future: rates exist up to today.</source>
        <translation>%1 is in the future: rates exist up to today.</translation>
    </message>
    <message id="ConversionDateBeforeHistory">
        <source>%1 is before the rate history, which starts on %2.</source>
        <translation>%1 is before the rate history, which starts on %2.</translation>
    </message>
    <message id="ConversionDateNoRates">
        <source>No rates were published on or before %1.</source>
        <translation>No rates were published on or before %1.</translation>
    </message>
    <message id="PastRatesFailedMessage">
        <source>%1 could not give the rates of that day. %2.</source>
        <translation>%1 could not give the rates of that day. %2.</translation>
    </message>
    <message id="ConversionDateEarlier">
        <source>No rates were published on %1: those of %2 are used.</source>
        <translation>No rates were published on %1: those of %2 are used.</translation>
    </message>
    <message id="TodaysRates">
        <source>Today's rates</source>
        <translation>Today's rates</translation>
    </message>
    <message id="RatesOfDay">
        <source>Rates of %1</source>
        <translation>Rates of %1</translation>
    </message>
    <message id="ChooseConversionDay">
        <source>Choose the day of the rates</source>
        <translation>Choose the day of the rates</translation>
    </message>
    <message id="PreviousMonth">
        <source>Previous month</source>
        <translation>Previous month</translation>
    </message>
    <message id="NextMonth">
        <source>Next month</source>
        <translation>Next month</translation>
    </message>
    <message id="PreviousYear">
        <source>Previous year</source>
        <translation>Previous year</translation>
    </message>
    <message id="NextYear">
        <source>Next year</source>
        <translation>Next year</translation>
    </message>
    <message id="CompareSources">
        <source>Compare sources</source>
        <translation>Compare sources</translation>
    </message>
    <message id="CompareAgain">
        <source>Ask again</source>
        <translation>Ask again</translation>
    </message>
    <message id="CompareHeadingAB">
        <source>1 %1 in %2</source>
        <translation>1 %1 in %2</translation>
    </message>
    <message id="CompareProgressAB">
        <source>%1 of %2 sources answered</source>
        <translation>%1 of %2 sources answered</translation>
    </message>
    <message id="CompareMedian">
        <source>Median</source>
        <translation>Median</translation>
    </message>
    <message id="CompareSpread">
        <source>Spread</source>
        <translation>Spread</translation>
    </message>
    <message id="CompareNoOutliersA">
        <source>No source is more than %1 from the median.</source>
        <translation>No source is more than %1 from the median.</translation>
    </message>
    <message id="CompareOutliersAB">
        <source>More than %1 from the median: %2.</source>
        <translation>More than %1 from the median: %2.</translation>
    </message>
    <message id="CompareNoneAnswered">
        <source>No source answered.</source>
        <translation>No source answered.</translation>
    </message>
    <message id="CompareNoSources">
        <source>No built-in source quotes this currency against the base currency.</source>
        <translation>No built-in source quotes this currency against the base currency.</translation>
    </message>
    <message id="CompareNotInAnswer">
        <source>The answer has no rate for %1.</source>
        <translation>The answer has no rate for %1.</translation>
    </message>
    <message id="CompareNoAnswer">
        <source>The source did not answer.</source>
        <translation>The source did not answer.</translation>
    </message>
    <message id="RateCachedSourceFailed">
        <source>cached, %1 failed</source>
        <translation>cached, %1 failed</translation>
    </message>
    <message id="RateStale">
        <source>stale</source>
        <translation>stale</translation>
    </message>
    <message id="AccessibleRateStale">
        <source>The rate is stale</source>
        <translation>The rate is stale</translation>
    </message>
    <message id="CBR-CurrencyDataSourceShort">
        <source>CBR</source>
        <translation>CBR</translation>
    </message>
    <message id="YFinance-CurrencyDataSourceShort">
        <source>Yahoo</source>
        <translation>Yahoo</translation>
    </message>
    <message id="ECB-CurrencyDataSourceShort">
        <source>ECB</source>
        <translation>ECB</translation>
    </message>
    <message id="Bloomberg-CurrencyDataSourceShort">
        <source>Bloomberg</source>
        <translation>Bloomberg</translation>
    </message>
    <message id="PayPal-CurrencyDataSourceShort">
        <source>PayPal</source>
        <translation>PayPal</translation>
    </message>
    <message id="OCBC-CurrencyDataSourceShort">
        <source>OCBC</source>
        <translation>OCBC</translation>
    </message>
    <message id="BankUa-CurrencyDataSourceShort">
        <source>BankUa</source>
        <translation>BankUa</translation>
    </message>
    <message id="Frankfurter-CurrencyDataSourceShort">
        <source>Frankfurter</source>
        <translation>Frankfurter</translation>
    </message>
    <message id="CurrencyApi-CurrencyDataSourceShort">
        <source>Exchange API</source>
        <translation>Exchange API</translation>
    </message>
</context>
</TS>
