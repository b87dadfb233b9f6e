object frmQzRecords: TfrmQzRecords
  Left = 120
  Top = 40
  BorderIcons = [biSystemMenu]
  BorderStyle = bsSingle
  Caption = 'Records'
  ClientHeight = 338
  ClientWidth = 560
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  ActiveControl = grdEvents
  object lblTitle: TLabel
    Left = 16
    Top = 10
    Width = 200
    Height = 16
    Caption = 'Events in events.db'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object navEvents: TDBNavigator
    Left = 16
    Top = 34
    Width = 240
    Height = 25
    DataSource = srcEvents
  end
  object lblRecord: TLabel
    Left = 272
    Top = 40
    Width = 270
    Height = 13
    Caption = 'Record'
  end
  object grdEvents: TDBCtrlGrid
    Left = 16
    Top = 68
    Width = 250
    Height = 240
    DataSource = srcEvents
    PanelHeight = 40
    RowCount = 6
    object lblRowHappened: TLabel
      Left = 8
      Top = 5
      Width = 60
      Height = 13
      Caption = 'Happened'
    end
    object txtRowHappened: TQzDBDateText
      Left = 80
      Top = 5
      Width = 150
      Height = 13
      DataField = 'happened'
      DateFormat = 'd/m/yyyy'
    end
    object lblRowDue: TLabel
      Left = 8
      Top = 21
      Width = 60
      Height = 13
      Caption = 'Due'
    end
    object txtRowDue: TQzDBDateText
      Left = 80
      Top = 21
      Width = 150
      Height = 13
      DataField = 'due'
      DateFormat = 'yyyy/mm/dd'
    end
  end
  object lblHappened: TLabel
    Left = 290
    Top = 72
    Width = 250
    Height = 13
    Caption = 'Happened: a date, right-aligned'
    FocusControl = edtHappened
  end
  object edtHappened: TQzDBDateEdit
    Left = 290
    Top = 88
    Width = 150
    Height = 20
    CalendarCaption = ''
    CalendarEnabled = False
    DateFormat = 'dd/mm/yyyy'
    ErrorMessage = '''%s'' is not a valid date!'
    ErrorMessageTitle = 'Invalid Date!'
    ErrorMessageType = mtWindows
    TabOrder = 1
    OnExit = DateEditExit
    OnInvalidDate = DateEditInvalidDate
    DataSource = srcEvents
    DataField = 'happened'
  end
  object lblLogged: TLabel
    Left = 290
    Top = 120
    Width = 250
    Height = 13
    Caption = 'Logged: a date and time, shown by a date label'
  end
  object txtLogged: TQzDBDateText
    Left = 290
    Top = 136
    Width = 150
    Height = 17
    Color = clWindow
    ParentColor = False
    DataField = 'logged'
    DateFormat = 'dd/mm/yyyy'
    DataSource = srcEvents
  end
  object lblDue: TLabel
    Left = 290
    Top = 168
    Width = 250
    Height = 13
    Caption = 'Due: a date, centred'
    FocusControl = edtDue
  end
  object edtDue: TQzDBDateEdit
    Left = 290
    Top = 184
    Width = 150
    Height = 20
    CalendarCaption = ''
    CalendarWeekStart = wsMonday
    DateFormat = 'dd/mm/yyyy'
    ErrorMessage = '''%s'' is not a valid date!'
    ErrorMessageTitle = 'Invalid Date!'
    ErrorMessageType = mtWindows
    GlyphType = gtDropArrow
    TabOrder = 2
    OnCloseCalendar = DateEditCloseCalendar
    OnExit = DateEditExit
    OnInvalidDate = DateEditInvalidDate
    OnOpenCalendar = DateEditOpenCalendar
    DataSource = srcEvents
    DataField = 'due'
  end
  object lblReview: TLabel
    Left = 290
    Top = 216
    Width = 250
    Height = 13
    Caption = 'Review: may be empty, never before the event'
    FocusControl = edtReview
  end
  object edtReview: TQzDBDateEdit
    Left = 290
    Top = 232
    Width = 150
    Height = 20
    CalendarCaption = ''
    DateFormat = 'dd/mm/yyyy'
    ErrorMessage = '''%s'' is not a valid date!'
    ErrorMessageTitle = 'Review date'
    ErrorMessageType = mtWindows
    GlyphType = gtCalendar1
    TabOrder = 3
    OnCloseCalendar = DateEditCloseCalendar
    OnExit = DateEditExit
    OnInvalidDate = DateEditInvalidDate
    OnOpenCalendar = DateEditOpenCalendar
    DataSource = srcEvents
    DataField = 'review'
  end
  object lblStored: TLabel
    Left = 16
    Top = 316
    Width = 530
    Height = 13
    Caption = ''
  end
  object tblEvents: TSQLiteDataSet
    TableName = 'events'
    Left = 480
    Top = 8
  end
  object srcEvents: TDataSource
    DataSet = tblEvents
    OnDataChange = srcEventsDataChange
    OnStateChange = srcEventsStateChange
    Left = 520
    Top = 8
  end
end
