object frmQzDemo: TfrmQzDemo
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = 'Qz Components demo'
  ClientHeight = 396
  ClientWidth = 752
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  object lblDateEdits: TLabel
    Left = 16
    Top = 10
    Width = 62
    Height = 16
    Caption = 'Date edits'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object lblDateEditsHint: TLabel
    Left = 16
    Top = 30
    Width = 420
    Height = 13
    Caption = 'Type a date and leave with Tab, or drop the calendar with the button or Alt+Down.'
  end
  object ledDayFirst: TQzLED
    Left = 16
    Top = 57
    Width = 11
    Height = 11
    Hint = 'Check of the dd/mm/yyyy edit'
    LEDColor = lcGreen
  end
  object lblDayFirst: TLabel
    Left = 32
    Top = 56
    Width = 120
    Height = 13
    Caption = 'dd/mm/yyyy, from Monday'
    FocusControl = edtDayFirst
  end
  object ledMonthFirst: TQzLED
    Left = 168
    Top = 57
    Width = 11
    Height = 11
    Hint = 'Check of the m/d/yyyy edit'
    LEDColor = lcGreen
  end
  object lblMonthFirst: TLabel
    Left = 184
    Top = 56
    Width = 120
    Height = 13
    Caption = 'm/d/yyyy, from Sunday'
    FocusControl = edtMonthFirst
  end
  object ledYearFirst: TQzLED
    Left = 320
    Top = 57
    Width = 11
    Height = 11
    Hint = 'Check of the yyyy/mm/dd edit'
    LEDColor = lcGreen
  end
  object lblYearFirst: TLabel
    Left = 336
    Top = 56
    Width = 120
    Height = 13
    Caption = 'yyyy/mm/dd, no fill page'
    FocusControl = edtYearFirst
  end
  object edtDayFirst: TQzDateEdit
    Left = 16
    Top = 74
    Width = 136
    Height = 20
    TabOrder = 0
    OnChange = DateEditChange
    OnExit = DateEditExit
    CalendarWeekendColor = clRed
    CalendarWeekStart = wsMonday
    DateFormat = 'dd/mm/yyyy'
    GlyphType = gtDropArrow
    OnCloseCalendar = DateEditCloseCalendar
    OnInvalidDate = DateEditInvalidDate
    OnOpenCalendar = DateEditOpenCalendar
  end
  object edtMonthFirst: TQzDateEdit
    Left = 168
    Top = 74
    Width = 136
    Height = 20
    TabOrder = 1
    OnChange = DateEditChange
    OnExit = DateEditExit
    DateFormat = 'm/d/yyyy'
    GlyphType = gtCalendar1
    OnCloseCalendar = DateEditCloseCalendar
    OnInvalidDate = DateEditInvalidDate
    OnOpenCalendar = DateEditOpenCalendar
  end
  object edtYearFirst: TQzDateEdit
    Left = 320
    Top = 74
    Width = 136
    Height = 20
    TabOrder = 2
    OnChange = DateEditChange
    OnExit = DateEditExit
    CalendarFillPage = False
    CalendarWeekStart = wsMonday
    DateFormat = 'yyyy/mm/dd'
    ErrorMessageTitle = 'Date check'
    ErrorMessageType = mtWindows
    GlyphType = gtEllipsis
    OnCloseCalendar = DateEditCloseCalendar
    OnInvalidDate = DateEditInvalidDate
    OnOpenCalendar = DateEditOpenCalendar
  end
  object lblDayFirstDate: TLabel
    Left = 16
    Top = 100
    Width = 136
    Height = 13
    AutoSize = False
    Caption = 'no date yet'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clGrayText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
  end
  object lblMonthFirstDate: TLabel
    Left = 168
    Top = 100
    Width = 136
    Height = 13
    AutoSize = False
    Caption = 'no date yet'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clGrayText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
  end
  object lblYearFirstDate: TLabel
    Left = 320
    Top = 100
    Width = 136
    Height = 13
    AutoSize = False
    Caption = 'no date yet'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clGrayText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
  end
  object lblCalendar: TLabel
    Left = 16
    Top = 134
    Width = 120
    Height = 16
    Caption = 'Calendar component'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object lblCalendarHint: TLabel
    Left = 16
    Top = 154
    Width = 420
    Height = 13
    Caption = 'A non-visual TQzCalendar shows the popup next to the button and keeps the date.'
  end
  object btnPickDate: TButton
    Left = 16
    Top = 176
    Width = 100
    Height = 25
    Caption = 'Pick a date...'
    TabOrder = 3
    OnClick = btnPickDateClick
  end
  object ledPicker: TQzLED
    Left = 128
    Top = 183
    Width = 11
    Height = 11
    Hint = 'Date from the calendar component'
    LEDColor = lcGreen
  end
  object lblPicked: TLabel
    Left = 144
    Top = 182
    Width = 300
    Height = 13
    AutoSize = False
    Caption = 'No date picked yet'
  end
  object lblLamps: TLabel
    Left = 16
    Top = 228
    Width = 440
    Height = 56
    AutoSize = False
    Caption = 
      'Lamps: green - the date was accepted; red - the date was rejected' +
      ' when leaving the edit; amber - the calendar is open; dark - nothing ' +
      'checked yet.'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clGrayText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
    WordWrap = True
  end
  object lblEventsTitle: TLabel
    Left = 480
    Top = 10
    Width = 44
    Height = 16
    Caption = 'Events'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object lblEventsHint: TLabel
    Left = 480
    Top = 30
    Width = 256
    Height = 13
    Caption = 'The latest at the bottom; a run of one event is counted.'
  end
  object lblEventsBack: TLabel
    Left = 480
    Top = 54
    Width = 256
    Height = 230
    AutoSize = False
    Color = clWindow
    ParentColor = False
  end
  object lblEvents: TLabel
    Left = 486
    Top = 58
    Width = 246
    Height = 222
    AutoSize = False
    ShowAccelChar = False
    Transparent = True
  end
  object btnLanguage: TButton
    Left = 336
    Top = 4
    Width = 120
    Height = 22
    Caption = 'Language: English'
    TabOrder = 4
    OnClick = btnLanguageClick
  end
  object btnRecords: TButton
    Left = 336
    Top = 128
    Width = 120
    Height = 22
    Caption = 'Records...'
    OnClick = btnRecordsClick
  end
  object calPicker: TQzCalendar
    CalendarCaption = 'Pick a date'
    CalendarStyle = csDialog
    CalendarWeekendColor = clRed
    CalendarLeft = 272
    CalendarTop = 132
    CalendarOptions = [coShowToday, coWeekNumbers, coWheelPaging]
    OnCloseCalendar = calPickerCloseCalendar
    OnOpenCalendar = calPickerOpenCalendar
    Left = 440
    Top = 176
  end
  object lblMore: TLabel
    Left = 16
    Top = 294
    Width = 140
    Height = 16
    Caption = 'More of the picker'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object lblMoreHint: TLabel
    Left = 16
    Top = 314
    Width = 440
    Height = 13
    Caption = 'Deliveries skip weekends and mark holidays; two-digit years stay near today.'
  end
  object btnDelivery: TButton
    Left = 16
    Top = 334
    Width = 100
    Height = 25
    Caption = 'Delivery day...'
    TabOrder = 5
    OnClick = btnDeliveryClick
  end
  object lblDelivery: TLabel
    Left = 128
    Top = 340
    Width = 180
    Height = 13
    AutoSize = False
    Caption = 'No delivery day yet'
  end
  object ledBlink: TQzLED
    Left = 320
    Top = 341
    Width = 11
    Height = 11
    Hint = 'A lamp that can blink'
    LEDColor = lcBlue
    LEDState = lsBright
  end
  object btnBlink: TButton
    Left = 336
    Top = 336
    Width = 120
    Height = 22
    Caption = 'Blink: off'
    TabOrder = 6
    OnClick = btnBlinkClick
  end
  object lblWindow: TLabel
    Left = 16
    Top = 371
    Width = 144
    Height = 13
    Caption = 'Two-digit years near today'
    FocusControl = edtWindow
  end
  object edtWindow: TQzDateEdit
    Left = 168
    Top = 368
    Width = 136
    Height = 20
    TabOrder = 7
    OnChange = DateEditChange
    OnExit = DateEditExit
    DateFormat = 'dd/mm/yyyy'
    GlyphType = gtDropArrow
    OnCloseCalendar = DateEditCloseCalendar
    OnInvalidDate = DateEditInvalidDate
    OnOpenCalendar = DateEditOpenCalendar
    TwoDigitYearWindow = 20
  end
  object lblWindowDate: TLabel
    Left = 320
    Top = 371
    Width = 150
    Height = 13
    AutoSize = False
    Caption = 'no date yet'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clGrayText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    ParentFont = False
  end
  object calDelivery: TQzCalendar
    CalendarCaption = 'Delivery day'
    CalendarStyle = csDialog
    CalendarWeekStart = wsMonday
    CalendarLeft = 250
    CalendarTop = 150
    CalendarOptions = [coShowToday, coTodayButton, coClearButton, coZoomViews]
    OnCloseCalendar = calDeliveryCloseCalendar
    OnDayDisabled = DeliveryDayDisabled
    OnDayStyle = DeliveryDayStyle
    Left = 440
    Top = 334
  end
end
